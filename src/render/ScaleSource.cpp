#include "render/ScaleSource.h"

#include "render/LinearLight.h"
#include "support/ParallelRange.h"

#include <algorithm>

namespace {

// Larger pictures (the huge canvases) are not kept in linear light, at twice their own size.
constexpr int LargestKeptSide = 4096;
constexpr qsizetype LargestKeptPixels = qsizetype(LargestKeptSide) * LargestKeptSide;

bool Huge(QSize size) {
    return qsizetype(size.width()) * size.height() > LargestKeptPixels;
}

} // namespace

ScaleSource::ScaleSource(const QImage& image)
    : m_image(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)), m_size(m_image.size()) {}

ScaleSource::ScaleSource(QSize size, std::unique_ptr<std::uint16_t[]> linear)
    : m_size(size), m_linear(std::move(linear)) {
    std::call_once(m_converted, [] {});
}

void ScaleSource::KeepLinearLight(int threads) const {
    const int width = m_image.width();
    const int height = m_image.height();
    if (Huge(m_size))
        return;
    std::call_once(m_converted, [&] {
        const std::size_t rowChannels = std::size_t(width) * 4;
        m_linear.reset(new std::uint16_t[rowChannels * std::size_t(height)]);
        ParallelRange(height, threads, [&](int begin, int end) {
            for (int y = begin; y < end; ++y)
                LinearLight::PremultipliedRow(
                    reinterpret_cast<const QRgb*>(m_image.constScanLine(y)), width,
                    m_linear.get() + rowChannels * std::size_t(y));
        });
    });
}

const std::uint16_t* ScaleSource::LinearRow(int y, std::vector<std::uint16_t>& scratch) const {
    const std::size_t rowChannels = std::size_t(m_image.width()) * 4;
    if (m_linear)
        return m_linear.get() + rowChannels * std::size_t(y);
    scratch.resize(rowChannels);
    LinearLight::PremultipliedRow(reinterpret_cast<const QRgb*>(m_image.constScanLine(y)),
                                  m_image.width(), scratch.data());
    return scratch.data();
}

QSize ScaleSource::ReducedSize() const {
    if (!Huge(m_size) || m_image.isNull())
        return {};
    // A whole factor: each reduced pixel averages whole source pixels, in blocks of the same
    // size all over the picture.
    const int longer = std::max(m_image.width(), m_image.height());
    const int factor = (longer + LargestKeptSide - 1) / LargestKeptSide;
    return {std::max(1, m_image.width() / factor), std::max(1, m_image.height() / factor)};
}

const ScaleSource&
ScaleSource::Reduced(const std::function<std::unique_ptr<std::uint16_t[]>(QSize)>& shrink) const {
    std::call_once(m_reducedOnce, [&] {
        const QSize size = ReducedSize();
        m_reduced = std::make_unique<const ScaleSource>(size, shrink(size));
    });
    return *m_reduced;
}
