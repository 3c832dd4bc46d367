// The web set as a browser and a page author take it, as planned: the manifest read as JSON
// with the app's name and the design's colours, its icons and the references of head.html
// files of the set, and an app name of any characters kept intact in both. That every planned
// file is written as its rule says is checked by tst_PlannedFileRules.

#include "platforms/PlatformPlan.h"

#include <QtTest>

namespace {

Rgba FromHex(const QString& hex) {
    const QColor colour(hex);
    return {colour.redF(), colour.greenF(), colour.blueF(), colour.alphaF()};
}

// The planned web file of that name, before anything is written; no path when there is none.
PlannedFile Planned(const PlatformSetOptions& options, const QString& name) {
    for (const PlannedFile& file : PlatformPlan::Files({PlatformTarget::Web}, options))
        if (file.path == "web/" + name)
            return file;
    return {};
}

// A design's colours and names, and what its manifest says: the colours at the top and the
// bottom of the icon as theme and background.
const struct {
    const char *what, *setName, *appName;
    bool transparent;
    const char *start, *end, *name, *theme, *background;
} ManifestRows[] = {
    {"app name given", "AppIcon", "Weather Now", false, "#e4573f", "#1a2b3c", "Weather Now",
     "#e4573f", "#1a2b3c"},
    {"no app name: the set's", "My.App", "", false, "#0080ff", "#004080", "My.App", "#0080ff",
     "#004080"},
    {"spaces around the app name", "x", "  Notes ", false, "#000000", "#ffffff", "Notes", "#000000",
     "#ffffff"},
    {"only spaces: the set's", "x", "   ", false, "#102030", "#405060", "x", "#102030", "#405060"},
    {"transparent background stands on white", "x", "T", true, "#e4573f", "#1a2b3c", "T", "#ffffff",
     "#ffffff"},
    {"invisible colour shows the white below", "x", "T", false, "#00e4573f", "#ff1a2b3c", "T",
     "#ffffff", "#1a2b3c"},
};

// Empty when the text is no JSON object.
QJsonObject Manifest(const QByteArray& text) {
    return QJsonDocument::fromJson(text).object();
}

} // namespace

class WebSetTest : public QObject {
    Q_OBJECT

private slots:
    void manifestInstallsTheApp_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(ManifestRows)); ++row)
            QTest::newRow(ManifestRows[row].what) << row;
    }
    void manifestInstallsTheApp() {
        QFETCH(int, row);
        const auto& [what, setName, appName, transparent, start, end, name, theme, background] =
            ManifestRows[row];
        IconDesign design;
        design.transparentBackground = transparent;
        design.gradientStartColor = FromHex(start);
        design.gradientEndColor = FromHex(end);
        const PlatformSetOptions options = MakePlatformSetOptions(design, setName, appName);
        const QJsonObject manifest = Manifest(Planned(options, "manifest.webmanifest").text);
        QCOMPARE(manifest.value("name").toString(), name);
        QCOMPARE(manifest.value("short_name").toString(), name);
        QCOMPARE(manifest.value("start_url").toString(), ".");
        QCOMPARE(manifest.value("display").toString(), "standalone");
        QCOMPARE(manifest.value("theme_color").toString(), theme);
        QCOMPARE(manifest.value("background_color").toString(), background);
        QVERIFY(Planned(options, "head.html")
                    .text.contains(QStringLiteral("<meta name=\"theme-color\" content=\"%1\">")
                                       .arg(theme)
                                       .toUtf8()));
    }

    void manifestIconsArePlannedAtTheirSize() {
        const PlatformSetOptions options = MakePlatformSetOptions(IconDesign(), "S", "");
        QStringList listed;
        for (const QJsonValue& value :
             Manifest(Planned(options, "manifest.webmanifest").text).value("icons").toArray()) {
            const QJsonObject icon = value.toObject();
            const PlannedFile file = Planned(options, icon.value("src").toString());
            listed.append(icon.value("purpose").toString() + " " + icon.value("sizes").toString());
            if (file.kind == PlannedFile::Kind::Generated) {
                QCOMPARE(icon.value("type").toString(), "image/svg+xml");
                continue;
            }
            QVERIFY2((file.kind == PlannedFile::Kind::Png ||
                      file.kind == PlannedFile::Kind::OpaquePng) &&
                         file.images.size() == 1,
                     qPrintable(icon.value("src").toString()));
            QCOMPARE(icon.value("type").toString(), "image/png");
            QCOMPARE(icon.value("sizes").toString(), QStringLiteral("%1x%2")
                                                         .arg(file.images.first().pixels)
                                                         .arg(file.images.first().Height()));
        }
        listed.sort();
        QCOMPARE(listed, (QStringList{"any 192x192", "any 512x512", "any any", "maskable 192x192",
                                      "maskable 512x512", "monochrome 512x512"}));
    }

    void headUsesTheSetsOwnFiles() {
        const PlatformSetOptions options = MakePlatformSetOptions(IconDesign(), "S", "");
        const QString head = QString::fromUtf8(Planned(options, "head.html").text);
        static const QRegularExpression link(
            QStringLiteral("<link rel=\"([^\"]+)\" href=\"([^\"]+)\""));
        QStringList rels;
        for (const QRegularExpressionMatch& match : link.globalMatch(head)) {
            const QString href = match.captured(2);
            QVERIFY2(!href.contains(u'/') && !Planned(options, href).path.isEmpty(),
                     qPrintable(href));
            rels.append(match.captured(1) + " " + href);
        }
        rels.sort();
        QCOMPARE(rels, (QStringList{"apple-touch-icon apple-touch-icon.png", "icon favicon.ico",
                                    "icon icon.svg", "manifest manifest.webmanifest"}));
        QVERIFY(head.contains("href=\"icon.svg\" type=\"image/svg+xml\""));
        QVERIFY(head.contains("href=\"favicon.ico\" sizes=\"32x32\""));
    }

    void appNameIsEscaped_data() {
        QTest::addColumn<QString>("appName");
        QTest::addColumn<QString>("inHtml"); // as a double-quoted attribute holds it
        QTest::newRow("quotes and ampersand") << "Tom & \"Jerry\'s\""
                                              << "Tom &amp; &quot;Jerry's&quot;";
        QTest::newRow("angle brackets") << "<script>x</script>"
                                        << "&lt;script&gt;x&lt;/script&gt;";
        QTest::newRow("backslash, tab and accents") << "C:\\Caf\u00e9\tBar"
                                                    << "C:\\Caf\u00e9\tBar";
    }
    void appNameIsEscaped() {
        QFETCH(QString, appName);
        QFETCH(QString, inHtml);
        const PlatformSetOptions options = MakePlatformSetOptions(IconDesign(), "S", appName);
        QCOMPARE(Manifest(Planned(options, "manifest.webmanifest").text).value("name").toString(),
                 appName);
        const QString head = QString::fromUtf8(Planned(options, "head.html").text);
        QVERIFY2(head.contains(QStringLiteral("content=\"%1\">").arg(inHtml)), qPrintable(head));
        // Every tag is one line; a bracket of the name would start or end another.
        const qsizetype lines = head.count(u'\n');
        QCOMPARE(head.count(u'<'), lines);
        QCOMPARE(head.count(u'>'), lines);
    }
};

QTEST_MAIN(WebSetTest)
#include "tst_WebSet.moc"
