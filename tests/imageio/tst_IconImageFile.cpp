// The loader the window and the command line use for icon images: hostile raster files and SVG
// documents are refused within a bounded memory, and every failure of the image helper process
// that decodes them is a refusal within its deadline.

#include "export/SaveImage.h"
#include "helpers/RefusingImageHelper.h"
#include "helpers/TestDesigns.h"
#include "helpers/TestImages.h"
#include "imageio/IconImageFile.h"
#include "imageio/ImageHelperProcess.h"
#include "imageio/ImageSandbox.h"
#include "imageio/Jpeg2000Decoder.h"
#include "imageio/SvgImage.h"

#include <QtEndian>
#include <QtTest>

#include <QElapsedTimer>

#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

namespace {

constexpr int kJp2 = 4; // the "JP2" entry of the output formats
constexpr int kGif = 8; // the "GIF" entry

const QString kRefused = QStringLiteral("refused");
const QString kAccepted = QStringLiteral("accepted");
const QString kEither = QStringLiteral("refused or accepted");

// A real PNG whose header is rewritten to claim another size, with a valid checksum, so only
// the claimed size is wrong.
QByteArray PngClaiming(quint32 width, quint32 height) {
    QByteArray bytes = TestImages::PngBytes(TestImages::AsymmetricImage(8, 8));
    // Signature (8), IHDR length (4), "IHDR" (4), then width and height.
    qToBigEndian(width, bytes.data() + 16);
    qToBigEndian(height, bytes.data() + 20);
    const auto* chunk = reinterpret_cast<const Bytef*>(bytes.constData() + 12);
    qToBigEndian(quint32(crc32(0, chunk, 4 + 13)), bytes.data() + 12 + 4 + 13);
    return bytes;
}

QByteArray EncodedByUs(const QImage& image, int formatIndex, const QString& path) {
    return ImageTools::SaveImage(image, path, formatIndex, 1.0) ? TestImages::ReadFile(path)
                                                                : QByteArray();
}

// A baseline JPEG whose frame header claims another size; its scan still holds 8 x 8 pixels.
QByteArray JpegClaiming(QByteArray jpeg, quint16 width, quint16 height) {
    const qsizetype frame = jpeg.indexOf(QByteArray("\xff\xc0", 2));
    if (frame < 0)
        return {};
    // Marker (2), length (2), precision (1), then height and width.
    qToBigEndian(height, jpeg.data() + frame + 5);
    qToBigEndian(width, jpeg.data() + frame + 7);
    return jpeg;
}

QByteArray BmpClaiming(QByteArray bmp, qint32 width, qint32 height) {
    qToLittleEndian(width, bmp.data() + 18);
    qToLittleEndian(height, bmp.data() + 22);
    return bmp;
}

// The screen and the first picture of a GIF encoded from an 8 x 8 image, both made to claim
// another size.
QByteArray GifClaiming(QByteArray gif, quint16 width, quint16 height) {
    const qsizetype picture = gif.indexOf(QByteArray("\x2c\0\0\0\0\x08\0\x08\0", 9));
    if (picture < 0)
        return {};
    for (const qsizetype at : {qsizetype(6), picture + 5}) {
        qToLittleEndian(width, gif.data() + at);
        qToLittleEndian(height, gif.data() + at + 2);
    }
    return gif;
}

QByteArray Svg(const QByteArray& attributes, const QByteArray& content) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" " +
           attributes + ">" + content + "</svg>";
}

QByteArray Gzip(const QByteArray& bytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(bytes.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

QByteArray EntityBomb() {
    QByteArray entities = "<!ENTITY e0 \"lol\">";
    for (int i = 1; i < 10; ++i)
        entities += "<!ENTITY e" + QByteArray::number(i) + " \"" +
                    QByteArray("&e" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    return "<?xml version=\"1.0\"?><!DOCTYPE svg [" + entities + "]>" +
           Svg("width=\"10\" height=\"10\"", "<text>&e9;</text>");
}

// Each level refers ten times to the one below: 10^19 rectangles if expanded.
QByteArray UseChain() {
    QByteArray defs = "<rect id=\"u0\" width=\"1\" height=\"1\"/>";
    for (int i = 1; i < 20; ++i)
        defs +=
            "<g id=\"u" + QByteArray::number(i) + "\">" +
            QByteArray("<use xlink:href=\"#u" + QByteArray::number(i - 1) + "\"/>").repeated(10) +
            "</g>";
    return Svg("width=\"10\" height=\"10\"", "<defs>" + defs + "</defs><use xlink:href=\"#u19\"/>");
}

// `links` elements each referring to the one before: `<use>` elements by href, patterns and
// masks through url() in a presentation attribute, patterns through a style sheet's rules.
// The library follows them by recursion.
enum class Chain { Use, Pattern, Mask, StyledPattern };

QByteArray ReferenceChain(Chain chain, int links) {
    const auto id = [](int i) { return "r" + QByteArray::number(i); };
    const QByteArray square = "width=\"1\" height=\"1\"";
    const QByteArray element = chain == Chain::Mask ? "mask" : "pattern";
    const QByteArray property = chain == Chain::Mask ? "mask" : "fill";
    QByteArray sheet, defs = "<rect id=\"r0\" " + square + "/>";
    for (int i = 1; i <= links; ++i) {
        const QByteArray before = "url(#" + id(i - 1) + ")";
        if (chain == Chain::Use) {
            defs += "<use id=\"" + id(i) + "\" xlink:href=\"#" + id(i - 1) + "\"/>";
            continue;
        }
        if (chain == Chain::StyledPattern)
            sheet += ".c" + QByteArray::number(i) + " { fill: " + before + " }\n";
        const QByteArray reference = chain == Chain::StyledPattern
                                         ? "class=\"c" + QByteArray::number(i) + "\""
                                         : property + "=\"" + before + "\"";
        defs += "<" + element + " id=\"" + id(i) + "\" " + square + "><rect " + square +
                " fill=\"white\" " + reference + "/></" + element + ">";
    }
    const QByteArray last = id(links);
    const QByteArray drawn = chain == Chain::Use ? "<use xlink:href=\"#" + last + "\"/>"
                                                 : "<rect width=\"10\" height=\"10\" " + property +
                                                       "=\"url(#" + last + ")\"/>";
    return Svg("width=\"10\" height=\"10\"",
               "<style>" + sheet + "</style><defs>" + defs + "</defs>" + drawn);
}

QByteArray Nested(int levels) {
    return Svg("width=\"10\" height=\"10\"", QByteArray("<g>").repeated(levels) +
                                                 "<rect width=\"5\" height=\"5\"/>" +
                                                 QByteArray("</g>").repeated(levels));
}

// Forty filter results kept for the last one, over masks within masks: each a picture of the
// whole drawn area.
QByteArray StackedEffects() {
    QByteArray primitives;
    for (int i = 0; i < 40; ++i)
        primitives += "<feOffset in=\"" +
                      QByteArray(i ? "o" + QByteArray::number(i - 1) : "SourceGraphic") +
                      "\" dx=\"0.1\" result=\"o" + QByteArray::number(i) + "\"/>";
    QByteArray merge = "<feMerge>";
    for (int i = 0; i < 40; ++i)
        merge += "<feMergeNode in=\"o" + QByteArray::number(i) + "\"/>";
    return Svg("viewBox=\"0 0 100 100\"",
               "<filter id=\"f\">" + primitives + merge + "</feMerge></filter>" +
                   "<mask id=\"m0\"><rect width=\"100\" height=\"100\" fill=\"white\"/></mask>" +
                   "<mask id=\"m1\"><rect width=\"100\" height=\"100\" fill=\"white\" "
                   "mask=\"url(#m0)\"/></mask>" +
                   "<circle cx=\"50\" cy=\"50\" r=\"40\" filter=\"url(#f)\" mask=\"url(#m1)\"/>");
}

// Thousands of wide blurs: minutes of drawing even at thumbnail size.
QByteArray SlowDocument() {
    QByteArray circles;
    for (int i = 0; i < 3000; ++i)
        circles += "<circle cx=\"" + QByteArray::number(i % 50) + "\" cy=\"" +
                   QByteArray::number(i / 50) + "\" r=\"40\" filter=\"url(#b)\"/>";
    return Svg("viewBox=\"0 0 100 100\"",
               "<filter id=\"b\"><feGaussianBlur stdDeviation=\"20\"/></filter>" + circles);
}

// What the size marker at the start of a JPEG 2000 codestream announces.
struct SizeMarker {
    quint32 width;
    quint32 height;
    quint32 tileWidth;
    quint32 tileHeight;
    quint16 components;
    quint8 bits = 8;
    quint8 subsampling = 1;
};

// A codestream built byte by byte: the size marker, one coding style (one layer, five
// reversible decompositions), no quantisation, then one empty tile. A decoder sets up every
// tile and plane the header announces before it reaches the tile.
QByteArray Codestream(const SizeMarker& size) {
    QByteArray bytes;
    const auto put16 = [&bytes](quint16 value) {
        bytes.append(char(value >> 8)).append(char(value));
    };
    const auto put32 = [&put16](quint32 value) {
        put16(quint16(value >> 16));
        put16(quint16(value));
    };
    put16(0xFF4F); // start of codestream
    put16(0xFF51);
    put16(quint16(38 + 3 * size.components));
    put16(0); // capabilities
    for (const quint32 value :
         {size.width, size.height, 0u, 0u, size.tileWidth, size.tileHeight, 0u, 0u})
        put32(value);
    put16(size.components);
    for (int c = 0; c < size.components; ++c)
        bytes.append(char(size.bits - 1))
            .append(char(size.subsampling))
            .append(char(size.subsampling));
    bytes.append(QByteArray::fromHex("ff52000c00000001000504040001"));        // coding style
    bytes.append(QByteArray::fromHex("ff5c001340") + QByteArray(16, '\x40')); // quantisation
    // Tile 0, its only part of 14 bytes: this header and the start of its (empty) data.
    bytes.append(QByteArray::fromHex("ff90000a00000000000e0001ff93"));
    put16(0xFFD9); // end of codestream
    return bytes;
}

QByteArray Box(const char* type, const QByteArray& contents) {
    QByteArray box(4, '\0');
    qToBigEndian(quint32(8 + contents.size()), box.data());
    return box + type + contents;
}

// A JP2 file around that codestream, its image header agreeing with the size marker.
QByteArray Jp2File(const SizeMarker& size) {
    QByteArray header(14, '\0');
    qToBigEndian(size.height, header.data());
    qToBigEndian(size.width, header.data() + 4);
    qToBigEndian(size.components, header.data() + 8);
    header[10] = char(size.bits - 1);
    header[11] = 7; // compressed as JPEG 2000
    const QByteArray srgb = QByteArray::fromHex("01000000000010");
    return QByteArray("\x00\x00\x00\x0cjP  \r\n\x87\n", 12) +
           Box("ftyp", QByteArray("jp2 \0\0\0\0jp2 ", 12)) +
           Box("jp2h", Box("ihdr", header) + Box("colr", srgb)) + Box("jp2c", Codestream(size));
}

// The resident memory of a process in kB as /proc tells it (`field` "VmRSS" now, "VmHWM" at its
// peak); -1 when it cannot be read.
qint64 ResidentKilobytes(const QString& process, const QByteArray& field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Loads the file in a child process and watches its resident memory: a loader that sets up
// what a header claims shows there, and the child is ended before it exhausts the machine.
// An address-space limit would not do: the library's allocations then fail early and the load
// merely looks refused. Tells whether the child refused or accepted the file, or how it failed.
QString OutcomeWithWatchedMemory(const QString& path) {
    // Far more than any refusal or the small accepted files need, far less than a header can
    // claim.
    constexpr qint64 kBudgetKilobytes = 256 * 1024;
    enum : int { kRefused, kAccepted, kThrew, kOverBudget };
    const qint64 before = ResidentKilobytes(QStringLiteral("self"), "VmRSS");
    const pid_t child = fork();
    if (child == 0) {
        // A crash ends the child with its signal, not in the test runner's handler.
        for (const int crash : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL})
            signal(crash, SIG_DFL);
        try {
            std::shared_ptr<const SvgImage> vector;
            const bool refused = LoadIconImage(path, &vector).isNull() && !vector;
            // The peak between two looks of the parent counts too.
            if (ResidentKilobytes(QStringLiteral("self"), "VmHWM") - before > kBudgetKilobytes)
                _exit(kOverBudget);
            _exit(refused ? kRefused : kAccepted);
        } catch (...) {
            _exit(kThrew);
        }
    }
    if (child < 0)
        return QStringLiteral("not run");
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0) {
        if (ResidentKilobytes(QString::number(child), "VmRSS") - before > kBudgetKilobytes) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return QStringLiteral("over budget");
        }
        usleep(2000);
    }
    if (ended != child)
        return QStringLiteral("lost");
    if (WIFSIGNALED(status))
        return QStringLiteral("killed by signal %1").arg(WTERMSIG(status));
    const char* const told[] = {"refused", "accepted", "threw", "over budget"};
    return QString::fromLatin1(told[std::min(WEXITSTATUS(status), int(kOverBudget))]);
}

// The value of one line of /proc/PID/limits ("Max file size  0  0  bytes"): its soft limit.
QString SoftLimit(pid_t process, const QByteArray& name) {
    QFile limits(QStringLiteral("/proc/%1/limits").arg(process));
    if (!limits.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : limits.readAll().split('\n')) {
        if (line.startsWith(name))
            return QString::fromLatin1(line.mid(name.size()).simplified().split(' ').value(0));
    }
    return {};
}

// Stand-ins for the helper executable that fail as a broken or taken-over one would, most
// after saying they are ready as the real one does.
const QByteArray kShell = "#!/bin/sh\n";
const QByteArray kGarbageHelper =
    kShell + kStandInHelperReady + "head -c 200000 /dev/urandom\nsleep 60\n";
const QByteArray kGarbageGreetingHelper = kShell + "head -c 200000 /dev/urandom\nsleep 60\n";
const QByteArray kSilentHelper = kShell + kStandInHelperReady + "exec sleep 60\n";
const QByteArray kCrashingHelper = kShell + kStandInHelperReady + "kill -SEGV $$\n";
const QByteArray kCrashingAtStartHelper = kShell + "kill -SEGV $$\n";
// An answer's header claiming a 10000 x 10000 picture, then nothing.
const QByteArray kOverclaimingHelper =
    kShell + kStandInHelperReady +
    "printf '1HGS\\001\\000\\000\\000\\020\\047\\000\\000\\020\\047\\000\\000'\n"
    "head -c 40 /dev/zero\nexec sleep 60\n";

} // namespace

Q_DECLARE_METATYPE(Jpeg2000Decoder::Limits)

class IconImageFileTest : public QObject {
    Q_OBJECT

    QString Write(const QString& name, const QByteArray& bytes) { return m_dir.Write(name, bytes); }

    // Makes a script the helper executable until the test function ends (see cleanup()).
    bool UseHelperScript(const QString& name, const QByteArray& script) {
        const QString path = Write(name, script);
        if (path.isEmpty() || !QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner))
            return false;
        qputenv("SIGILON_LOADER", QFile::encodeName(path));
        return true;
    }
    // A helper script that runs `first`, then the real helper.
    QByteArray BeforeTheRealHelper(const QByteArray& first) const {
        return kShell + first + "\nexec '" + m_realHelper + "' \"$@\"\n";
    }

    TestImages::ScratchFolder m_dir;
    const QByteArray m_realHelper = qgetenv("SIGILON_LOADER");

private slots:
    // A test function that stopped early still leaves the real helper to the next.
    void cleanup() { qputenv("SIGILON_LOADER", m_realHelper); }

    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // Qt's image plugins load once here, not first in a child process.
        QVERIFY(
            !DecodeIconImage(TestImages::EncodedBytes(TestImages::AsymmetricImage(8, 8), "jpeg"))
                 .isNull());
    }

    void jpeg2000HeaderIsCheckedBeforeDecoding_data() {
        QTest::addColumn<Jpeg2000Decoder::Limits>("limits");
        QTest::addColumn<bool>("decoded");
        // 40 x 30 pixels in one tile, four planes the decoder holds in 32 bits a sample: 19200
        // bytes.
        using Limits = Jpeg2000Decoder::Limits;
        QTest::newRow("within every limit") << Limits{40, 1200, 19200, 1} << true;
        QTest::newRow("one side too long") << Limits{39, 1200, 19200, 1} << false;
        QTest::newRow("area too large") << Limits{40, 1199, 19200, 1} << false;
        QTest::newRow("planes too large") << Limits{40, 1200, 19199, 1} << false;
        QTest::newRow("too many tiles") << Limits{40, 1200, 19200, 0} << false;
    }
    void jpeg2000HeaderIsCheckedBeforeDecoding() {
        QFETCH(Jpeg2000Decoder::Limits, limits);
        QFETCH(bool, decoded);
        QImage picture = TestImages::AsymmetricImage(40, 30);
        picture.setPixelColor(0, 0, QColor(1, 2, 3, 4)); // keeps the alpha plane
        const QByteArray bytes = EncodedByUs(picture, kJp2, m_dir.filePath("limits.jp2"));
        QCOMPARE(Jpeg2000Decoder::Decode(bytes, limits).isNull(), !decoded);
    }

    // Every kind of hostile input goes through the loader the window and the command line
    // use; well-formed files of the same formats show the checks refuse only damage.
    void hostileFilesAreRefused_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("outcome");
        const QImage picture = TestImages::AsymmetricImage(8, 8);
        const QByteArray jpeg = TestImages::EncodedBytes(picture, "jpeg");
        const QByteArray bmp = TestImages::EncodedBytes(picture, "bmp");
        const QByteArray gif = EncodedByUs(picture, kGif, m_dir.filePath("picture.gif"));
        const QByteArray jp2 = EncodedByUs(picture, kJp2, m_dir.filePath("picture.jp2"));
        const QByteArray photo =
            TestImages::EncodedBytes(TestImages::AsymmetricImage(300, 200), "jpeg");

        const auto row = [this](const char* name, const char* file, const QByteArray& bytes,
                                const QString& outcome) {
            QTest::newRow(name) << Write(file, bytes) << outcome;
        };
        // The loader reads only ordinary files of bounded size; which files those are is
        // tst_ProfileText's concern.
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << kRefused;
        const QString pipe = m_dir.filePath(QStringLiteral("endless.png"));
        QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        QTest::newRow("file that never ends") << pipe << kRefused;
        row("jpeg cut in its scan", "cut.jpg", photo.left(photo.size() / 2), kRefused);
        row("jpeg without its end marker", "end.jpg", photo.chopped(2), kRefused);
        row("bmp cut in its rows", "cut.bmp", bmp.chopped(20), kRefused);
        row("gif cut in its picture", "cut.gif", gif.left(gif.size() - 8), kRefused);
        row("jpeg claiming 10000 x 10000", "big.jpg", JpegClaiming(jpeg, 10000, 10000), kRefused);
        row("bmp claiming 10000 x 10000", "big.bmp", BmpClaiming(bmp, 10000, 10000), kRefused);
        row("gif claiming 10000 x 10000", "big.gif", GifClaiming(gif, 10000, 10000), kRefused);
        row("png claiming 100000 x 100000", "huge.png", PngClaiming(100000, 100000), kRefused);
        row("png claiming 20000 x 2", "wide.png", PngClaiming(20000, 2), kRefused);
        // Tiny files whose headers announce what a decoder would set up at length.
        const SizeMarker manyPlanes{10000, 10000, 64, 64, 256};
        row("codestream with 256 planes in 64 x 64 tiles", "planes.j2k", Codestream(manyPlanes),
            kRefused);
        row("jp2 with 256 planes in 64 x 64 tiles", "planes.jp2", Jp2File(manyPlanes), kRefused);
        row("codestream with 16384 planes", "more.j2k",
            Codestream({10000, 10000, 10000, 10000, 16384}), kRefused);
        row("codestream with 62500 tiles", "tiles.j2k", Codestream({2000, 2000, 8, 8, 1}),
            kRefused);
        row("jp2 with 5 planes", "five.jp2", Jp2File({8, 8, 8, 8, 5}), kRefused);
        row("codestream with 17-bit samples", "deep.j2k", Codestream({8, 8, 8, 8, 1, 17}),
            kRefused);
        row("codestream with subsampled planes", "halves.j2k", Codestream({8, 8, 8, 8, 3, 8, 2}),
            kRefused);
        row("jp2 signature only", "signature.jp2", QByteArray("\x00\x00\x00\x0cjP  \r\n\x87\n", 12),
            kRefused);
        const QByteArray square = "<rect width=\"5\" height=\"5\"/>";
        const QByteArray sized = "width=\"10\" height=\"10\"";
        row("svg entity bomb", "bomb.svg", EntityBomb(), kRefused);
        row("svg use chain", "chain.svg", UseChain(), kRefused);
        // Chains and nesting that would overflow the library's stack are refused before it
        // sees them; a chain that a real icon could hold still loads.
        row("svg use chain 20000 deep", "deep-use.svg", ReferenceChain(Chain::Use, 20000),
            kRefused);
        row("svg pattern chain 20000 deep", "deep-pattern.svg",
            ReferenceChain(Chain::Pattern, 20000), kRefused);
        row("svg mask chain 20000 deep", "deep-mask.svg", ReferenceChain(Chain::Mask, 20000),
            kRefused);
        row("svg style sheet's pattern chain 20000 deep", "deep-style.svg",
            ReferenceChain(Chain::StyledPattern, 20000), kRefused);
        row("svg use chain 60 deep", "use60.svg", ReferenceChain(Chain::Use, 60), kAccepted);
        row("svg style sheet's pattern chain 60 deep", "style60.svg",
            ReferenceChain(Chain::StyledPattern, 60), kAccepted);
        row("svg use cycle", "cycle.svg",
            Svg(sized, "<defs><g id=\"a\"><use xlink:href=\"#b\"/></g><g id=\"b\"><use "
                       "xlink:href=\"#a\"/></g></defs><use xlink:href=\"#a\"/>"),
            kRefused);
        row("svg use of its own group", "self.svg",
            Svg(sized, "<g id=\"a\"><rect width=\"1\" height=\"1\"/><use x=\"2\" "
                       "xlink:href=\"#a\"/></g>"),
            kRefused);
        row("svg nested 100000 deep", "nested.svg", Nested(100000), kRefused);
        row("svg nested 40 deep", "nested40.svg", Nested(40), kAccepted);
        row("svgz past 32 MB", "large.svgz", Gzip(Svg(sized, QByteArray(33 << 20, ' '))), kRefused);
        row("svgz inside gzip", "twice.svgz", Gzip(Gzip(Svg(sized, square))), kRefused);
        row("truncated svgz", "cut.svgz", Gzip(Svg(sized, square)).chopped(8), kRefused);
        row("svg with zero viewBox", "zero.svg",
            Svg("viewBox=\"0 0 0 0\" width=\"9\" height=\"9\"", square), kRefused);
        row("svg with negative viewBox", "negative.svg",
            Svg("viewBox=\"0 0 -10 10\" width=\"9\" height=\"9\"", square), kRefused);
        row("svg with NaN viewBox", "nan.svg", Svg("viewBox=\"0 0 NaN 10\"", square), kRefused);
        row("svg without any size", "unsized.svg", Svg("width=\"100%\"", square), kRefused);
        row("svg not well-formed", "broken.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><g>",
            kRefused);
        for (const char* icon : {"adwaita-appearance-symbolic.svg", "debian-logo-text.svg",
                                 "gvim.svg", "tango-dialog-error.svg"})
            QTest::newRow(icon) << TestDesigns::DataFile(icon) << kAccepted;
        row("whole jpeg", "whole.jpg", photo, kAccepted);
        row("whole bmp", "whole.bmp", bmp, kAccepted);
        row("whole gif", "whole.gif", gif, kAccepted);
        // The content decides, not the extension.
        row("whole jp2 named .png", "jp2.png", jp2, kAccepted);
        // Cut short, a JPEG 2000 file may still decode in part; it must never crash the loader.
        for (const qsizetype length : {qsizetype(40), jp2.size() / 2, jp2.size() - 3})
            QTest::addRow("jp2 cut to %lld bytes", qlonglong(length))
                << Write(QStringLiteral("cut%1.jp2").arg(length), jp2.left(length)) << kEither;
    }
    void hostileFilesAreRefused() {
        QFETCH(QString, path);
        QFETCH(QString, outcome);
        QVERIFY(!path.isEmpty());
        const QString actual = OutcomeWithWatchedMemory(path);
        QVERIFY2(outcome.split(QStringLiteral(" or ")).contains(actual), qPrintable(actual));
    }

    // Whatever goes wrong in the helper, the editor and the command line see a refusal within
    // the deadline (2 s for a first look, 10 s for a drawing at a later size), and none of the
    // helper's memory shows in theirs.
    void helperFailuresAreRefusalsWithinTheDeadline_data() {
        QTest::addColumn<QString>("helper");     // a stand-in script, or empty for the real one
        QTest::addColumn<QByteArray>("image");   // the file's bytes
        QTest::addColumn<bool>("pastTheChecks"); // sent to a helper without the checks before
        QTest::addColumn<QSize>("drawnAt");      // empty: the first look only
        const QByteArray png = TestImages::PngBytes(TestImages::AsymmetricImage(8, 8));
        const auto firstLook = [&](const char* name, const QByteArray& helper,
                                   const QByteArray& image, bool pastTheChecks = false) {
            QTest::newRow(name) << QString::fromLatin1(helper) << image << pastTheChecks << QSize();
        };
        firstLook("helper writing garbage back", kGarbageHelper, png);
        firstLook("helper greeting with garbage", kGarbageGreetingHelper, png);
        firstLook("helper never answering", kSilentHelper, png);
        firstLook("helper crashing", kCrashingHelper, png);
        firstLook("helper crashing as it starts", kCrashingAtStartHelper, png);
        firstLook("helper claiming 10000 x 10000 pixels and stopping", kOverclaimingHelper, png);
        // The library overflows its stack on this chain; the structure check is the first line,
        // the helper the second.
        firstLook("svg use chain 20000 deep", {}, ReferenceChain(Chain::Use, 20000), true);
        firstLook("svg drawing for minutes", {}, SlowDocument());
        // Each of its forty filter results a picture of 8000 x 8000 pixels: gigabytes.
        QTest::newRow("svg holding gigabytes at a later size")
            << QString() << StackedEffects() << false << QSize(8000, 8000);
    }
    void helperFailuresAreRefusalsWithinTheDeadline() {
        QFETCH(QString, helper);
        QFETCH(QByteArray, image);
        QFETCH(bool, pastTheChecks);
        QFETCH(QSize, drawnAt);
        if (!helper.isEmpty())
            QVERIFY(UseHelperScript(QStringLiteral("helper.sh"), helper.toLatin1()));
        // The deadline starts once the helper is ready: what starting one takes here now is
        // allowed for on top of it.
        QElapsedTimer timer;
        timer.start();
        ImageHelperProcess::Start();
        const qint64 starting = timer.elapsed();
        const qint64 before = ResidentKilobytes(QStringLiteral("self"), "VmRSS");
        timer.restart();
        bool refused = false;
        std::chrono::milliseconds deadline = SvgImage::kFirstLook;
        if (pastTheChecks) {
            const auto helperProcess = ImageHelperProcess::Start();
            QVERIFY(helperProcess);
            refused =
                !helperProcess->Exchange(HelperMessages::Request::OpenVector, image,
                                         std::chrono::steady_clock::now() + SvgImage::kFirstLook,
                                         [](const HelperMessages::ReplyHeader&) { return true; });
        } else {
            std::shared_ptr<const SvgImage> vector;
            refused = DecodeIconImage(image, &vector).isNull();
            if (!refused && !drawnAt.isEmpty()) {
                // The first look was fine; the drawing at the size placed is what fails.
                QVERIFY(vector);
                timer.restart();
                deadline = SvgImage::kLongestDrawing;
                const double scale = drawnAt.width() / vector->viewBox().width();
                refused = vector->Draw(drawnAt, QTransform::fromScale(scale, scale)).isNull();
                QCOMPARE(vector->refusedDrawings(), refused ? 1 : 0);
            }
        }
        const qint64 elapsed = timer.elapsed();
        const qint64 grown = ResidentKilobytes(QStringLiteral("self"), "VmRSS") - before;
        QVERIFY(refused);
        // The deadline with room for a machine busy with other work.
        QVERIFY2(elapsed < starting + deadline.count() + 1500,
                 qPrintable(QStringLiteral("%1 ms, %2 ms to start").arg(elapsed).arg(starting)));
        QVERIFY2(grown < 32 * 1024, qPrintable(QStringLiteral("%1 kB").arg(grown)));
    }

    // A machine busy with other work may take seconds to start a helper; that time is not the
    // image's, so an image is still read when the start alone takes longer than a first look.
    void helperSlowToStartStillReadsTheImage() {
        QVERIFY(
            UseHelperScript(QStringLiteral("slow-helper.sh"), BeforeTheRealHelper("sleep 2.5")));
        QElapsedTimer timer;
        timer.start();
        const QImage raster =
            DecodeIconImage(TestImages::PngBytes(TestImages::AsymmetricImage(8, 8)));
        std::shared_ptr<const SvgImage> vector;
        const QImage thumbnail = LoadIconImage(TestDesigns::DataFile("gvim.svg"), &vector);
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(raster.size(), QSize(8, 8));
        QVERIFY(vector && !thumbnail.isNull());
        // Both waited for the slow start, so neither came from a helper started earlier.
        QVERIFY2(elapsed >= 4500, qPrintable(QString::number(elapsed)));
    }

    // The library's documents, one after another, are drawn by one helper, each as a helper of
    // its own draws it (nothing of the one before shows); a user's file always has a new helper.
    void builtInDocumentsShareAHelperAndUserFilesNever() {
        const QString log = m_dir.filePath(QStringLiteral("starts.log"));
        QVERIFY(UseHelperScript(QStringLiteral("counted-helper.sh"),
                                BeforeTheRealHelper("echo >> '" + QFile::encodeName(log) + "'")));
        const auto starts = [&] { return TestImages::ReadFile(log).count('\n'); };
        const auto drawn = [](const std::shared_ptr<const SvgImage>& image) {
            return image ? image->Draw(QSize(40, 40), QTransform::fromScale(4, 4)) : QImage();
        };
        QList<QByteArray> documents;
        for (const char* color : {"red", "lime", "blue", "black", "orange", "purple"})
            documents.append("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\" "
                             "width=\"10\" height=\"10\"><circle cx=\"" +
                             QByteArray::number(documents.size() + 2) +
                             "\" cy=\"5\" r=\"2\" fill=\"" + color + "\"/></svg>");
        QList<QImage> shared;
        for (const QByteArray& document : documents) {
            shared.append(drawn(SvgImage::Read(document, DocumentOrigin::BuiltIn)));
            QVERIFY(!shared.last().isNull());
        }
        QCOMPARE(starts(), 1);
        for (qsizetype d = 0; d < documents.size(); ++d)
            QCOMPARE(drawn(SvgImage::Read(documents[d])), shared[d]);
        QCOMPARE(starts(), 1 + documents.size());
    }

    // Read from outside while a helper waits for its next request, and tried by a copy of this
    // process that puts the same limits on itself.
    void helperCannotWriteFilesOrReachTheNetwork() {
        const auto helper = ImageHelperProcess::Start();
        QVERIFY(helper);
        QVERIFY(helper->Exchange(HelperMessages::Request::OpenRaster,
                                 TestImages::PngBytes(TestImages::AsymmetricImage(8, 8)),
                                 std::chrono::steady_clock::now() + SvgImage::kFirstLook,
                                 [](const HelperMessages::ReplyHeader&) { return true; }));
        const pid_t process = helper->processId();
        QCOMPARE(SoftLimit(process, "Max file size"), QStringLiteral("0"));
        if (ImageSandbox::kMemoryLimited)
            QCOMPARE(SoftLimit(process, "Max data size"),
                     QString::number(ImageSandbox::kMemoryBytes));
        QCOMPARE(SoftLimit(process, "Max open files"), QString::number(ImageSandbox::kOpenFiles));
        QVERIFY(SoftLimit(process, "Max cpu time") != QStringLiteral("unlimited"));
        QFile told(QStringLiteral("/proc/%1/status").arg(process));
        QVERIFY(told.open(QIODevice::ReadOnly));
        QVERIFY2(told.readAll().contains("\nSeccomp:\t2\n"), "no system call filter");

        const QString created = m_dir.filePath(QStringLiteral("written-by-the-helper"));
        const QByteArray createdName = QFile::encodeName(created);
        enum : int { kFileCreated = 1, kSocketOpened = 2, kNotSandboxed = 4 };
        const pid_t child = fork();
        if (child == 0) {
            int result = ImageSandbox::Enter() ? 0 : kNotSandboxed;
            const int file = open(createdName.constData(), O_WRONLY | O_CREAT, 0600);
            if (file >= 0 || access(createdName.constData(), F_OK) == 0)
                result |= kFileCreated;
            for (const int domain : {AF_INET, AF_INET6, AF_UNIX}) {
                if (socket(domain, SOCK_STREAM, 0) >= 0)
                    result |= kSocketOpened;
            }
            _exit(result);
        }
        QVERIFY(child > 0);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY(!QFile::exists(created));
    }

    // A document whose drawing holds pictures of its area (filter results, masks) is drawn at
    // no more pixels than they may take together, however large the canvas (that a slow one
    // keeps to its time is tst_CommandLine's concern); a plain one keeps its exact drawing at
    // any size.
    void drawnAreaIsBoundedByTheDocumentsCost_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<bool>("bounded");
        QTest::newRow("plain icon")
            << TestImages::ReadFile(TestDesigns::DataFile("tango-dialog-error.svg")) << false;
        QTest::newRow("stacked filter results and masks") << StackedEffects() << true;
    }
    void drawnAreaIsBoundedByTheDocumentsCost() {
        QFETCH(QByteArray, document);
        QFETCH(bool, bounded);
        const auto image = SvgImage::Read(document);
        QVERIFY(image);
        // The largest canvas; a few pictures of it are what a rendering holds besides.
        constexpr qint64 kLargestCanvas = qint64(10000) * 10000;
        if (!bounded) {
            QCOMPARE(image->largestDrawing(), SvgImage::kUnlimited);
            return;
        }
        QVERIFY2(image->largestDrawing() < kLargestCanvas / 4,
                 qPrintable(QString::number(image->largestDrawing())));
        // Never below the thumbnail that was drawn in time.
        QVERIFY(image->largestDrawing() >= qint64(256) * 256);
    }

    void readsNoOtherFile() {
        // A picture the document names in every way a document can, next to it and absolute.
        QTemporaryDir folder;
        QImage red(8, 8, QImage::Format_ARGB32);
        red.fill(Qt::red);
        const QString png = folder.filePath(QStringLiteral("red.png"));
        QVERIFY(red.save(png));
        const QByteArray url = QUrl::fromLocalFile(png).toEncoded();
        const QByteArray sized = "\" width=\"10\" height=\"10\"/>";
        const QByteArray document =
            Svg("viewBox=\"0 0 10 10\" xmlns:xi=\"http://www.w3.org/2001/XInclude\"",
                "<image xlink:href=\"" + url + sized + "<image xlink:href=\"red.png" + sized +
                    "<image xlink:href=\"" + png.toUtf8() + sized + "<xi:include href=\"" + url +
                    "\" parse=\"text\"/><use xlink:href=\"" + url + "#a\"/>");
        const QString path = folder.filePath(QStringLiteral("icon.svg"));
        QVERIFY(TestImages::WriteFile(path, document));
        std::shared_ptr<const SvgImage> vector;
        const QImage thumbnail = LoadIconImage(path, &vector);
        QVERIFY(vector);
        const QImage drawn = vector->Draw(QSize(10, 10), QTransform());
        for (const QImage& image : {thumbnail, drawn})
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    QCOMPARE(qAlpha(image.pixel(x, y)), 0);
    }

    // Its area as the document gives it, the same compressed, and a thumbnail of its aspect.
    void sizeComesFromViewBoxElseWidthAndHeight_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QRectF>("area");
        const QByteArray square = "<rect width=\"5\" height=\"5\"/>";
        const QByteArray tall = Svg("width=\"30\" height=\"60\"", square);
        QTest::newRow("viewBox wins")
            << Svg("viewBox=\"-5 10 40 20\" width=\"7\" height=\"7\"", square)
            << QRectF(-5, 10, 40, 20);
        QTest::newRow("width and height") << tall << QRectF(0, 0, 30, 60);
        QTest::newRow("compressed") << Gzip(tall) << QRectF(0, 0, 30, 60);
        QTest::newRow("units") << Svg("width=\"1in\" height=\"0.5in\"", square)
                               << QRectF(0, 0, 96, 48);
    }
    void sizeComesFromViewBoxElseWidthAndHeight() {
        QFETCH(QByteArray, document);
        QFETCH(QRectF, area);
        const auto image = SvgImage::Read(document);
        QVERIFY(image);
        QCOMPARE(image->viewBox(), area);
        const QImage thumbnail = image->thumbnail();
        QCOMPARE(thumbnail.format(), QImage::Format_ARGB32_Premultiplied);
        QVERIFY(std::abs(double(thumbnail.width()) / thumbnail.height() -
                         area.width() / area.height()) < 0.02);
    }
};

QTEST_MAIN(IconImageFileTest)
#include "tst_IconImageFile.moc"
