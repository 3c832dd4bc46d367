// How a platform export writes: around what already sits at its paths, stopped half-way, with an
// icon image the helper refuses to draw, and with the badge a build flavour draws into every
// picture, inside what each platform's masks keep.

#include "helpers/FolderListing.h"
#include "helpers/OutputOccupants.h"
#include "helpers/PlatformRun.h"
#include "helpers/RefusingImageHelper.h"
#include "helpers/TestImages.h"
#include "imageio/SvgImage.h"

#include <QtTest>

namespace {

const QList<PlatformTarget> Targets{PlatformTarget::Icns, PlatformTarget::Windows,
                                    PlatformTarget::Web, PlatformTarget::Linux};
const QByteArray OldContents = "kept as it was";
using PlatformRun::SmallDesign;

// A set of every shape of picture but the splash screens, which are badged only on request.
const QList<PlatformTarget> PictureTargets{PlatformTarget::Xcode, PlatformTarget::Android,
                                           PlatformTarget::Web, PlatformTarget::Msix};

// What the platforms' masks keep of a picture, as they document them, the picture's side being
// 1 and its centre (0, 0): a rounded square of half-side `half` and corner `radius` (a circle
// when they are equal).
struct Kept {
    double half;
    double radius;

    bool Keeps(const QPointF& p) const {
        const double qx = std::abs(p.x()) - (half - radius);
        const double qy = std::abs(p.y()) - (half - radius);
        return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) <=
               radius;
    }
};

// The masks by the files' names; a picture not named here is shown whole.
Kept MaskOf(const QString& path) {
    const struct {
        const char* part;
        Kept kept;
    } masks[] = {
        // Adaptive layers: every launcher mask keeps the central circle of 66 of 108 dp.
        {"ic_launcher_foreground", {33.0 / 108, 33.0 / 108}},
        {"ic_launcher_monochrome", {33.0 / 108, 33.0 / 108}},
        {"ic_launcher_round", {0.5, 0.5}},
        // Maskable web icons keep the circle of 80 % of their side.
        {"maskable", {0.4, 0.4}},
        {"monochrome-512", {0.4, 0.4}},
        // The Android 12 splash icon keeps its central 192 of 288 dp, as a circle.
        {"splash_icon", {96.0 / 288, 96.0 / 288}},
        // Apple watches show the app icon as a circle; the phone's rounded square keeps it.
        {"-1024", {0.5, 0.5}},
        {"apple-touch", {0.5, 0.2237}},
        // Google Play rounds its icons by a fifth of their side.
        {"play-store", {0.5, 0.2}},
        // The macOS grid's body: 824 of 1024, corners like a circle of 185.
        {"icon-mac-", {412.0 / 1024, 185.0 / 1024}},
    };
    for (const auto& mask : masks)
        if (path.contains(QLatin1String(mask.part)))
            return mask.kept;
    return {0.5, 0.0};
}

// The pixels a badge changed: any channel moved by more than antialiasing noise.
QList<QPoint> Changed(const QImage& plain, const QImage& badged) {
    const QImage a = plain.convertToFormat(QImage::Format_ARGB32);
    const QImage b = badged.convertToFormat(QImage::Format_ARGB32);
    QList<QPoint> changed;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = reinterpret_cast<const QRgb*>(a.constScanLine(y))[x];
            const QRgb q = reinterpret_cast<const QRgb*>(b.constScanLine(y))[x];
            if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))}) > 24)
                changed.append({x, y});
        }
    return changed;
}

// The small design's files of the plan, with that badge, written into the folder.
bool Written(const QList<PlannedFile>& plan, const QString& folder, const Badge& badge = {},
             int threads = 0) {
    return PlatformExport::Run(SmallDesign(), plan, folder, false, threads, {}, badge).AllWritten();
}

QSet<QString> Pngs(const QString& folder) {
    QSet<QString> pngs;
    for (const QString& path : FolderListing::FilesUnder(folder))
        if (path.endsWith(".png"))
            pngs.insert(path);
    return pngs;
}

} // namespace

class tst_PlatformExportRun : public QObject {
    Q_OBJECT

    QTemporaryDir m_complete; // every file of an uninterrupted run, to compare with
    QList<PlannedFile> m_plan;
    QTemporaryDir m_unbadged; // the picture sets without a badge
    QList<PlannedFile> m_picturePlan;
    QTemporaryDir m_unbadgedSplash;
    QList<PlannedFile> m_splashPlan;

    // Every picture under `folder` has the badge drawn over its twin under `plain`, wholly
    // inside what the picture's masks keep, so that no mask ever cuts it. The adaptive
    // background is the layer under the badged foreground and stays as it was, and so do the
    // splash pictures unless `splash`.
    void CheckBadged(const QString& folder, const QString& plain, bool splash) {
        const QSet<QString> pngs = Pngs(folder);
        QCOMPARE(pngs, Pngs(plain));
        for (const QString& path : pngs) {
            const QImage before(QDir(plain).filePath(path));
            const QImage badged(QDir(folder).filePath(path));
            QCOMPARE(badged.size(), before.size());
            const QList<QPoint> changed = Changed(before, badged);
            if (path.contains("ic_launcher_background") || (!splash && path.contains("splash"))) {
                QVERIFY2(changed.isEmpty(), qPrintable(path));
                continue;
            }
            QVERIFY2(!changed.isEmpty(), qPrintable(path));
            const Kept kept = MaskOf(path);
            // A pixel's centre, less the pixel's half that antialiasing spreads over, with the
            // picture's width and height each 1.
            const QSizeF size = before.size();
            for (const QPoint& pixel : changed) {
                const QPointF centred =
                    QPointF(pixel) + QPointF(0.5, 0.5) - QPointF(size.width(), size.height()) / 2;
                const double length = std::hypot(centred.x(), centred.y());
                const QPointF inward =
                    length > 0.75 ? centred * ((length - 0.75) / length) : QPointF();
                const QPointF p(inward.x() / size.width(), inward.y() / size.height());
                if (!kept.Keeps(p))
                    QFAIL(qPrintable(
                        QStringLiteral("%1: (%2, %3)").arg(path).arg(pixel.x()).arg(pixel.y())));
            }
        }
    }

private slots:
    void initTestCase() {
        m_plan = PlatformRun::Plan(Targets, "Progress");
        QVERIFY(m_plan.size() > 6);
        QVERIFY(Written(m_plan, m_complete.path()));
        m_picturePlan = PlatformRun::Plan(PictureTargets);
        QVERIFY(Written(m_picturePlan, m_unbadged.path()));
        m_splashPlan = PlatformRun::Plan({PlatformTarget::Splash});
        QVERIFY(Written(m_splashPlan, m_unbadgedSplash.path()));
    }

    // Every position in either style, over every picture of the sets, the smallest ones too
    // (as a mark).
    void badgeKeepsInsideEveryMask_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("position");
        for (int style = 0; style < int(Badge::StyleNames().size()); ++style)
            for (int position = 0; position < int(Badge::PositionNames().size()); ++position)
                QTest::addRow("%s %s", qPrintable(Badge::StyleNames()[style]),
                              qPrintable(Badge::PositionNames()[position]))
                    << style << position;
    }

    void badgeKeepsInsideEveryMask() {
        QFETCH(int, style);
        QFETCH(int, position);
        const Badge badge{.text = "BETA 2.3.1",
                          .style = Badge::Style(style),
                          .position = Badge::Position(position)};
        QTemporaryDir folder;
        QVERIFY(Written(m_picturePlan, folder.path(), badge));
        QVERIFY(Pngs(folder.path()).size() > 80);
        CheckBadged(folder.path(), m_unbadged.path(), false);
    }

    // The splash screens asked for: the splash icon's badge keeps to the circle Android shows.
    void splashScreensAreBadgedOnRequest() {
        const Badge badge{.text = "DEV", .splash = true};
        QTemporaryDir badged;
        QVERIFY(Written(m_splashPlan, badged.path(), badge));
        CheckBadged(badged.path(), m_unbadgedSplash.path(), true);
    }

    // A badge is drawn the same on one thread as on all; a badge of nothing but spaces is none.
    void badgeIsTheSameOnEveryThreadCount() {
        const Badge badge{.text = "DEV", .style = Badge::Style::Ribbon};
        QTemporaryDir single;
        QTemporaryDir threaded;
        QTemporaryDir blank;
        QVERIFY(Written(m_picturePlan, single.path(), badge, 1));
        QVERIFY(Written(m_picturePlan, threaded.path(), badge));
        QVERIFY(Written(m_picturePlan, blank.path(), Badge{.text = "  "}));
        for (const QString& path : FolderListing::FilesUnder(single.path())) {
            const QByteArray bytes = TestImages::ReadFile(single.filePath(path));
            QVERIFY2(bytes == TestImages::ReadFile(threaded.filePath(path)), qPrintable(path));
            QVERIFY2(TestImages::ReadFile(blank.filePath(path)) ==
                         TestImages::ReadFile(m_unbadged.filePath(path)),
                     qPrintable(path));
        }
    }

    // `stopAfter`: the run is told to stop once that many files are done (-1: never). One
    // thread, so no file is begun beside the one that answered. The first planned file
    // exists beforehand and is kept.
    void stoppedRunLeavesWholeFilesOnly_data() {
        QTest::addColumn<int>("stopAfter");
        QTest::newRow("before drawing") << 0;
        QTest::newRow("after one file") << 1;
        QTest::newRow("after four files") << 4;
        QTest::newRow("never") << -1;
    }

    void stoppedRunLeavesWholeFilesOnly() {
        QFETCH(int, stopAfter);
        QTemporaryDir folder;
        const QString kept = m_plan.first().path;
        QVERIFY(TestImages::WriteFile(folder.filePath(kept), OldContents));

        const int toWrite = int(m_plan.size()) - 1;
        QMutex mutex;
        QList<int> dones;
        bool totalsRight = true;
        const auto progress = [&](int done, int total) {
            const QMutexLocker locker(&mutex);
            dones.append(done);
            totalsRight = totalsRight && total == toWrite;
            return stopAfter < 0 || done < stopAfter;
        };
        const PlatformExport::Result result =
            PlatformExport::Run(SmallDesign(), m_plan, folder.path(), false, 1, progress);

        const int written = stopAfter < 0 ? toWrite : stopAfter;
        QCOMPARE(result.stopped, stopAfter >= 0);
        QVERIFY(totalsRight);
        QVERIFY(std::is_sorted(dones.begin(), dones.end()));
        QCOMPARE(dones.first(), 0);
        QCOMPARE(dones.last(), written);

        // The kept file first, then the written ones in plan order, nothing for the rest.
        QCOMPARE(result.files.size(), 1 + written);
        QCOMPARE(result.files.first().action, ExportRun::FileAction::Kept);
        QSet<QString> reported;
        for (qsizetype i = 0; i < result.files.size(); ++i) {
            QCOMPARE(result.files[i].path, folder.filePath(m_plan[i].path));
            if (i > 0)
                QCOMPARE(result.files[i].action, ExportRun::FileAction::Written);
            reported.insert(m_plan[i].path);
        }
        // On disk exactly those, no temporary among them, each as an uninterrupted run
        // writes it.
        QCOMPARE(FolderListing::FilesUnder(folder.path()), reported);
        QCOMPARE(TestImages::ReadFile(folder.filePath(kept)), OldContents);
        for (const QString& path : reported) {
            if (path != kept)
                QVERIFY2(TestImages::ReadFile(folder.filePath(path)) ==
                             TestImages::ReadFile(m_complete.filePath(path)),
                         qPrintable(path));
        }
    }

    // An SVG icon image whose drawing the image helper refuses: the pictures would lack the
    // icon, so the run writes nothing, not even a folder, and tells so. The file it would
    // replace stays as it was, and one it keeps is reported kept. A drawing refused before the
    // run (the preview's, at another size) is no reason to refuse the run's own.
    void iconDrawingRefusedWritesNothing_data() {
        QTest::addColumn<bool>("refusedBefore");
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("refused, the file there to be replaced") << false << true;
        QTest::newRow("refused, the file there to be kept") << false << false;
        QTest::newRow("refused before the run only") << true << true;
    }

    void iconDrawingRefusedWritesNothing() {
        QFETCH(bool, refusedBefore);
        QFETCH(bool, overwrite);
        const QList<PlannedFile> plan = PlatformRun::Plan({PlatformTarget::Linux});
        QTemporaryDir folder;
        const QString there = folder.filePath(plan.first().path);
        QVERIFY(QDir().mkpath(QFileInfo(there).path()));
        QVERIFY(TestImages::WriteFile(there, OldContents));
        const QSet<QString> before = FolderListing::EntriesUnder(folder.path());

        IconDesign design = SmallDesign();
        PlatformExport::Result result;
        {
            const RefusingImageHelper helper(refusedBefore);
            QVERIFY(helper.isValid());
            design.iconVector = SvgImage::Read(TestImages::ReadFile(helper.document()));
            QVERIFY(design.iconVector);
            design.iconImage = design.iconVector->thumbnail();
            if (refusedBefore)
                QVERIFY(design.iconVector->Draw(QSize(64, 64), QTransform()).isNull());
            result = PlatformExport::Run(design, plan, folder.path(), overwrite, 1);
        }
        if (refusedBefore) {
            QVERIFY(!result.iconRefused);
            QVERIFY(result.AllWritten());
            QCOMPARE(result.files.size(), plan.size());
            QVERIFY(TestImages::ReadFile(there) != OldContents);
            return;
        }
        QVERIFY(result.iconRefused);
        QVERIFY(!result.AllWritten());
        QVERIFY(!result.stopped);
        QCOMPARE(result.files.size(), overwrite ? 0 : 1);
        if (!overwrite)
            QCOMPARE(result.files.first().action, ExportRun::FileAction::Kept);
        QCOMPARE(FolderListing::EntriesUnder(folder.path()), before); // no file, no folder
        QCOMPARE(TestImages::ReadFile(there), OldContents);
    }

    void occupantsOfTheOutputPath_data() { OutputOccupants::AddRows(); }

    void occupantsOfTheOutputPath() {
        QFETCH(int, occupant);
        QFETCH(bool, overwrite);
        QFETCH(int, outcome);
        // The smallest file of the Linux theme, alone.
        const PlannedFile file = PlatformRun::Plan({PlatformTarget::Linux}).first();
        QCOMPARE(file.images.first().pixels, 16);
        QTemporaryDir folder;
        const QString path = folder.filePath(file.path);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        OutputOccupants::Scene scene(OutputOccupants::Occupant(occupant), path);

        const PlatformExport::Result result =
            PlatformExport::Run(SmallDesign(), {file}, folder.path(), overwrite, 1);
        QCOMPARE(result.files.size(), 1);
        QCOMPARE(int(result.files.first().action), outcome);
        QCOMPARE(result.AllWritten(), outcome != OutputOccupants::Failed);
        if (outcome == OutputOccupants::Failed)
            QVERIFY2(result.files.first().failure.contains(path),
                     qPrintable(result.files.first().failure));
        scene.Check(OutputOccupants::Outcome(outcome), 16);
        QCOMPARE(FolderListing::EntriesIn(QFileInfo(path).path()), QStringList{"AppIcon.png"});
    }

    // A link to another folder where a set needs a folder fails that set's files below it,
    // each naming the link; nothing goes through it, and the other sets are written.
    void linkedFoldersAreNotFollowed_data() {
        QTest::addColumn<QString>("link");
        QTest::newRow("android") << "android";
        QTest::newRow("android/res") << "android/res";
        QTest::newRow("asset catalog") << "AppIcon.appiconset";
        QTest::newRow("Linux theme size") << "linux/hicolor/16x16";
    }

    void linkedFoldersAreNotFollowed() {
        QFETCH(QString, link);
        QTemporaryDir folder;
        QTemporaryDir elsewhere;
        QVERIFY(QDir().mkpath(QFileInfo(folder.filePath(link)).path()));
        QVERIFY(QFile::link(elsewhere.path(), folder.filePath(link)));
        const QList<PlannedFile> plan = PlatformRun::Plan(
            {PlatformTarget::Xcode, PlatformTarget::Android, PlatformTarget::Linux});

        const PlatformExport::Result result =
            PlatformExport::Run(SmallDesign(), plan, folder.path(), false);
        QVERIFY(!result.AllWritten());
        QCOMPARE(result.files.size(), plan.size());
        int refused = 0;
        for (qsizetype i = 0; i < plan.size(); ++i) {
            const ExportRun::FileResult& file = result.files[i];
            if (plan[i].path.startsWith(link + u'/')) {
                ++refused;
                QCOMPARE(file.action, ExportRun::FileAction::Failed);
                QVERIFY2(file.failure.contains(folder.filePath(link)) &&
                             file.failure.contains("symbolic link"),
                         qPrintable(file.failure));
            } else {
                QCOMPARE(file.action, ExportRun::FileAction::Written);
                QVERIFY(QFileInfo(file.path).isFile());
            }
        }
        QVERIFY(refused > 0);
        QCOMPARE(FolderListing::EntriesIn(elsewhere.path()), QStringList());
    }
};

QTEST_MAIN(tst_PlatformExportRun)
#include "tst_PlatformExportRun.moc"
