// The built-in library as it ships: its catalogues read, every entry drawable, search finding
// what people look for, and a symbol drawn as librsvg draws the same document.

#include "helpers/ProgramRun.h"
#include "helpers/TestDesigns.h"
#include "helpers/TestImages.h"
#include "imageio/SvgImage.h"
#include "render/ImageTools.h"
#include "symbols/SymbolDocument.h"
#include "symbols/SymbolLibrary.h"

#include <QPainter>
#include <QSet>
#include <QtTest>

namespace {

const SymbolLibrary& Shipped() {
    static const SymbolLibrary library(QStringLiteral(SIGILON_SOURCE_DIR "/data/symbols"));
    return library;
}

QStringList Names(const std::vector<const SymbolEntry*>& entries) {
    QStringList names;
    for (const SymbolEntry* entry : entries)
        names.append(entry->QualifiedName());
    return names;
}

// Whether a drawing has ink: a symbol or emoji drawn to nothing is a broken entry.
bool HasInk(const QImage& image) {
    return TestImages::Count(image, [&](int x, int y) { return qAlpha(image.pixel(x, y)) > 128; }) >
           image.width();
}

} // namespace

class tst_SymbolLibrary : public QObject {
    Q_OBJECT

private slots:
    // Enough symbols in the two fill styles and enough colour emoji, each name once, each set
    // with its licence text.
    void catalogueHoldsUniqueNamedSets() {
        const SymbolLibrary& library = Shipped();
        QVERIFY2(library.problem().isEmpty(), qPrintable(library.problem()));
        QHash<QString, int> perStyle;
        int emoji = 0;
        QSet<QString> names;
        for (const SymbolEntry* entry : library.entries()) {
            if (entry->set->kind() == SymbolKind::Emoji)
                ++emoji;
            else
                ++perStyle[entry->style];
            names.insert(entry->QualifiedName());
        }
        QCOMPARE(qsizetype(names.size()), qsizetype(library.entries().size()));
        QVERIFY2(perStyle.value("filled") >= 3000, qPrintable(QString::number(perStyle["filled"])));
        QVERIFY2(perStyle.value("outlined") >= 3000,
                 qPrintable(QString::number(perStyle["outlined"])));
        QVERIFY2(emoji >= 1800, qPrintable(QString::number(emoji)));
        for (const auto& set : library.sets()) {
            QVERIFY2(set->LicenceText().contains("Apache License"), qPrintable(set->name()));
            QVERIFY(!set->licence().isEmpty());
        }
    }

    // Every set's first and last entries and a few hundred spread over the whole library parse
    // as SVG documents and draw something.
    void entriesDraw() {
        const std::vector<const SymbolEntry*>& entries = Shipped().entries();
        QSet<const SymbolEntry*> sample;
        for (size_t i = 0; i < entries.size(); i += entries.size() / 300)
            sample.insert(entries[i]);
        for (const auto& set : Shipped().sets()) {
            sample.insert(&set->entries().first());
            sample.insert(&set->entries().last());
        }
        QVERIFY(sample.size() > 300);
        for (const SymbolEntry* entry : sample) {
            const auto svg = ReadSymbol(*entry);
            QVERIFY2(svg, qPrintable(entry->QualifiedName()));
            QVERIFY2(HasInk(svg->thumbnail()), qPrintable(entry->QualifiedName()));
            const QImage sample = DrawSymbolSample(*entry, 48, Qt::red);
            QVERIFY2(HasInk(sample), qPrintable(entry->QualifiedName()));
        }
    }

    // What a person types, and what they must find (and not find).
    void searchFinds_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QStringList>("notFound");
        const auto row = [](const char* name, const QStringList& words, const QStringList& found,
                            const QStringList& notFound) {
            QTest::newRow(name) << words << found << notFound;
        };
        row("a subject by its keywords", {"weather"},
            {"material/sunny", "material/cloud", "material/rainy", "material/umbrella", "noto/sun",
             "noto/cloud", "noto/umbrella", "noto/snowflake"},
            {"material/home", "noto/red-apple"});
        row("the symbol and the emoji", {"heart"},
            {"material/favorite", "material/heart-broken", "noto/red-heart", "noto/broken-heart"},
            {"material/home"});
        row("any case, the start of a word", {"Roc"}, {"material/rocket", "noto/rocket"},
            {"material/cloud"});
        row("every word must match", {"cloud", "outlined"},
            {"material/cloud-outline", "material/cloud-upload-outline"},
            {"material/cloud", "noto/cloud", "material/cloud-outline-rounded-x"});
        row("a style", {"home", "sharp"}, {"material/home-sharp", "material/home-outline-sharp"},
            {"material/home", "material/home-rounded"});
        row("a hyphenated name as its words", {"sun-behind-cloud"}, {"noto/sun-behind-cloud"},
            {"noto/sun", "noto/cloud"});
        row("the emoji character", {QString::fromUtf8("\xF0\x9F\x8C\x9E")}, {"noto/sun-with-face"},
            {"noto/sun"});
        row("an emoji's other name", {"adult"}, {"noto/person"}, {});
        row("a category", {"smileys"}, {"noto/grinning-face"}, {"material/cloud"});
        row("emoji only", {"emoji", "cat"}, {"noto/cat", "noto/cat-face"}, {"material/pets"});
        row("nothing for nonsense", {"xyzzyq"}, {}, {"material/cloud"});
        row("nothing when one word fails", {"cloud", "xyzzyq"}, {}, {"material/cloud"});
    }
    void searchFinds() {
        QFETCH(QStringList, words);
        QFETCH(QStringList, found);
        QFETCH(QStringList, notFound);
        const QStringList names = Names(Shipped().Search(words));
        for (const QString& name : found)
            QVERIFY2(names.contains(name), qPrintable(name));
        for (const QString& name : notFound)
            QVERIFY2(!names.contains(name), qPrintable(name));
        QCOMPARE(names.isEmpty(), found.isEmpty());
        if (!found.isEmpty())
            QVERIFY(Shipped().Search(words).size() < Shipped().entries().size());
    }

    // A name that names nothing is answered with names that do: in its own set when the set is
    // known.
    void closestNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("suggested");
        QTest::newRow("a letter wrong") << QString("material/clowd") << QString("material/cloud");
        QTest::newRow("a letter too many") << QString("noto/sunn") << QString("noto/sun");
        QTest::newRow("a word of names")
            << QString("material/heart") << QString("material/heart-broken");
        QTest::newRow("an unknown set") << QString("icons/rocket") << QString("material/rocket");
    }
    void closestNames() {
        QFETCH(QString, name);
        QFETCH(QString, suggested);
        QVERIFY(!Shipped().Find(name));
        const QStringList closest = Shipped().ClosestNames(name, 3);
        QVERIFY2(closest.contains(suggested), qPrintable(closest.join(", ")));
        if (!name.startsWith("icons/"))
            for (const QString& other : closest)
                QVERIFY2(other.section('/', 0, 0) == name.section('/', 0, 0), qPrintable(other));
    }

    void findsByEveryName() {
        const SymbolEntry* person = Shipped().Find("noto/person");
        QVERIFY(person);
        QCOMPARE(Shipped().Find("noto/adult"), person);
        QCOMPARE(Shipped().Find("material/cloud")->name, QString("cloud"));
        QVERIFY(!Shipped().Find("material/noto"));
        QVERIFY(!Shipped().Find("cloud"));
    }

    // The icon layer of a design with nothing else is librsvg's own drawing of the entry's
    // document at the canvas's size, in its own colours or tinted.
    void drawsAsLibrsvg_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("tinted");
        QTest::newRow("filled symbol") << "material/cloud" << false;
        QTest::newRow("outlined rounded symbol, tinted")
            << "material/favorite-outline-rounded" << true;
        QTest::newRow("emoji with gradients") << "noto/sun" << false;
        QTest::newRow("emoji") << "noto/red-heart" << false;
    }
    void drawsAsLibrsvg() {
        QFETCH(QString, name);
        QFETCH(bool, tinted);
        const SymbolEntry* entry = Shipped().Find(name);
        QVERIFY(entry);
        constexpr int kSide = 384;
        IconDesign design = TestDesigns::Plain(kSide, kSide);
        design.iconVector = ReadSymbol(*entry);
        QVERIFY(design.iconVector);
        design.iconImage = design.iconVector->thumbnail();
        design.useImageColors = !tinted;
        design.iconColor = Rgba{0.1, 0.6, 0.3, 1.0};
        const QImage layer =
            ImageTools::RenderIcon(design).convertToFormat(QImage::Format_ARGB32_Premultiplied);

        TestImages::ScratchFolder scratch;
        const QString document = scratch.Write("symbol.svg", SymbolDocument(*entry));
        const QString reference = scratch.filePath("reference.png");
        const QString side = QString::number(kSide);
        const auto run =
            ProgramRun::Run("rsvg-convert", {"-w", side, "-h", side, "-o", reference, document});
        QCOMPARE(run.exitCode, 0);
        QImage expected = QImage(reference).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (tinted) {
            QPainter painter(&expected);
            painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
            painter.fillRect(expected.rect(), QColor::fromRgbF(0.1f, 0.6f, 0.3f));
        }
        QVERIFY(HasInk(expected));
        const QString difference = TestImages::FirstDifference(layer, expected, 2);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
};

QTEST_MAIN(tst_SymbolLibrary)
#include "tst_SymbolLibrary.moc"
