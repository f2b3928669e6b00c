// The pictures of the large-icon list: the cache that reads them off the UI thread, and the
// delegate that draws them with the row's name and shows its memo as a tooltip.
#include "ui/views/LargeIconDelegate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QListView>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTextDocument>
#include <QThread>
#include <QToolTip>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "catalog/CFileInfo.h"
#include "catalog/DefaultPictures.h"
#include "support/Pictures.h"
#include "support/TempDir.h"
#include "ui/models/CatalogObjectRole.h"
#include "ui/views/PictureCache.h"

namespace pelko::ui {
namespace {

namespace fs = std::filesystem;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

// Turns the event loop until `done` holds or 30 s pass.
template <class Done>
bool WaitUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 30000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

fs::path WritePicture(const test::TempDir& dir, std::string_view name, int width, int height,
                      test::Rgb colour, bool jpeg = true) {
    const imaging::Image image = test::MakePicture(width, height, [&](int, int) { return colour; });
    const fs::path path = dir / name;
    test::WriteFileBytes(path, jpeg ? test::JpegOf(image) : test::BmpOf(image));
    return path;
}

// The real decoder, counting its calls and recording the threads it ran on.
struct CountingDecoder {
    std::mutex mutex;
    std::map<QString, int> calls;
    std::set<QThread*> threads;

    PictureCache::Decoder Function() {
        return [this](const QString& path, QSize box) {
            {
                const std::lock_guard lock(mutex);
                ++calls[path];
                threads.insert(QThread::currentThread());
            }
            return PictureCache::DecodeFitted(path, box);
        };
    }
    int Calls(const QString& path) {
        const std::lock_guard lock(mutex);
        return calls[path];
    }
};

const QSize kBox(102, 77);

bool IsRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
bool IsGreen(QRgb c) { return qRed(c) < 60 && qGreen(c) > 150 && qBlue(c) < 60; }
bool IsBlue(QRgb c) { return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) > 200; }

TEST(PictureCache, ReadsOffTheUiThreadThenServesFromMemory) {
    test::TempDir dir;
    const QString wide = Q(WritePicture(dir, "wide.jpg", 400, 100, {250, 10, 10}));
    CountingDecoder decoder;
    PictureCache cache(nullptr, PictureCache::kDefaultMaxBytes, decoder.Function());
    QSignalSpy ready(&cache, &PictureCache::PictureReady);

    EXPECT_TRUE(cache.Request(wide, kBox).isNull()) << "never decoded while asked";
    ASSERT_TRUE(WaitUntil([&] { return ready.count() == 1; }));
    EXPECT_EQ(ready.at(0).at(0).toString(), wide);
    ASSERT_EQ(decoder.threads.size(), 1u);
    EXPECT_NE(*decoder.threads.begin(), QThread::currentThread());

    const QPixmap pixmap = cache.Request(wide, kBox);
    EXPECT_EQ(pixmap.size(), QSize(102, 25)) << "fitted, keeping the aspect";
    EXPECT_EQ(cache.Request(wide, kBox).cacheKey(), pixmap.cacheKey());
    EXPECT_EQ(decoder.Calls(wide), 1);

    // A new icon size empties the cache: the picture is read again for the new box.
    EXPECT_TRUE(cache.Request(wide, QSize(320, 240)).isNull());
    ASSERT_TRUE(WaitUntil([&] { return ready.count() == 2; }));
    EXPECT_EQ(cache.Request(wide, QSize(320, 240)).size(), QSize(320, 80))
        << "small pictures grow to the box";
    EXPECT_EQ(decoder.Calls(wide), 2);
}

TEST(PictureCache, BrokenFileIsTriedOnceUntilItChanges) {
    test::TempDir dir;
    const QString path = Q(dir.WriteFile("cover.jpg", "not a picture at all"));
    CountingDecoder decoder;
    PictureCache cache(nullptr, PictureCache::kDefaultMaxBytes, decoder.Function());
    QSignalSpy failed(&cache, &PictureCache::PictureFailed);
    QSignalSpy ready(&cache, &PictureCache::PictureReady);

    EXPECT_TRUE(cache.Request(path, kBox).isNull());
    ASSERT_TRUE(WaitUntil([&] { return failed.count() == 1; }));
    for (int paint = 0; paint < 5; ++paint) EXPECT_TRUE(cache.Request(path, kBox).isNull());
    QCoreApplication::processEvents();
    EXPECT_TRUE(cache.Failed(path));
    EXPECT_EQ(decoder.Calls(path), 1);

    // Replaced by a real picture under the same name (a new cover): read again.
    WritePicture(dir, "cover.jpg", 60, 40, {10, 200, 10}, false);
    EXPECT_FALSE(cache.Failed(path));
    EXPECT_TRUE(cache.Request(path, kBox).isNull());
    ASSERT_TRUE(WaitUntil([&] { return ready.count() == 1; }));
    EXPECT_EQ(cache.Request(path, kBox).size(), QSize(102, 68));
    EXPECT_EQ(decoder.Calls(path), 2);
}

TEST(PictureCache, KeepsTheMostRecentlyUsedPicturesWithinItsBound) {
    test::TempDir dir;
    QStringList paths;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        paths << Q(WritePicture(dir, name, 102, 77, {90, 90, 90}));
    const qint64 onePicture = 102 * 77 * 4;
    CountingDecoder decoder;
    PictureCache cache(nullptr, 2 * onePicture, decoder.Function());
    QSignalSpy ready(&cache, &PictureCache::PictureReady);
    auto load = [&](const QString& path) {
        const int before = ready.count();
        if (!cache.Request(path, kBox).isNull()) return;
        ASSERT_TRUE(WaitUntil([&] { return ready.count() > before; }));
    };

    load(paths[0]);
    load(paths[1]);
    load(paths[0]);  // a is used again, so b is now the oldest
    load(paths[2]);
    EXPECT_LE(cache.CachedBytes(), 2 * onePicture);
    EXPECT_FALSE(cache.Request(paths[0], kBox).isNull());
    EXPECT_FALSE(cache.Request(paths[2], kBox).isNull());
    EXPECT_TRUE(cache.Request(paths[1], kBox).isNull()) << "the least recently used went";
    EXPECT_EQ(decoder.Calls(paths[0]), 1);
    ASSERT_TRUE(WaitUntil([&] { return decoder.Calls(paths[1]) == 2; }));
}

TEST(PictureCache, RealPicturesAndTheDefaultPicturesFitTheBox) {
    test::TempDir dir;
    std::vector<fs::path> files;
    for (const catalog::DefaultPicture picture : catalog::kAllDefaultPictures) {
        const fs::path path = dir / catalog::DefaultPictureFileName(picture);
        test::WriteFileBytes(path, catalog::DefaultPictureBytes(picture));
        files.push_back(path);
    }
    const fs::path fixtures = fs::path(PELKO_SHARED_FIXTURES) / "images";
    if (fs::is_directory(fixtures)) {
        for (const char* name : {"hopper.jpg", "hopper_gray.jpg", "pil_sample_cmyk.jpg", "pal8.bmp",
                                 "pal8rle.bmp", "pal8topdown.bmp", "rgb16-565.bmp", "pal1.bmp"})
            files.push_back(fixtures / name);
    } else {
        std::cout << "shared fixtures absent (" << fixtures << "): only the generated pictures are read\n";
    }
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const QImage image = PictureCache::DecodeFitted(Q(file), kBox);
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(image.width() == kBox.width() || image.height() == kBox.height())
            << image.width() << "x" << image.height();
        EXPECT_LE(image.width(), kBox.width());
        EXPECT_LE(image.height(), kBox.height());
    }
    // The default pictures are 100 x 66: fitted to 102 wide.
    EXPECT_EQ(PictureCache::DecodeFitted(Q(files[0]), kBox).size(), QSize(102, 67));
}

// A list in large icons over three file rows: a picture file, a program icon, nothing.
class LargeIconView : public ::testing::Test {
protected:
    LargeIconView() {
        red = Q(WritePicture(dir, "red.jpg", 200, 150, {250, 0, 0}));
        for (const char* name : {"photo.jpg", "setup.exe", "notes.txt"}) {
            auto file = std::make_unique<catalog::CFileInfo>();
            file->m_strName = name;
            auto* item = new QStandardItem(QString::fromUtf8(name));
            item->setData(QVariant::fromValue(CatalogObjectRef{file.get()}), ObjectRole);
            model.appendRow(item);
            files.push_back(std::move(file));
        }
        icon.pixels.fill(0xFF00C000);
        QPixmap blue(32, 32);
        blue.fill(QColor(0, 0, 250));
        model.item(2)->setData(QIcon(blue), Qt::DecorationRole);

        view.setViewMode(QListView::IconMode);
        view.setModel(&model);
        delegate = new LargeIconDelegate(
            cache,
            [this](const shell::CatalogObject& row) {
                const catalog::CFileInfo* file = std::get<catalog::CFileInfo*>(row);
                shell::RowPicture picture;
                if (file == files[0].get()) picture.file = red.toStdString();
                if (file == files[1].get()) picture.programIcon = &icon;
                return picture;
            },
            &view);
        view.setItemDelegate(delegate);
        view.resize(600, 300);
        view.show();
        QCoreApplication::processEvents();
    }

    QRgb CentreOfPicture(int row) {
        const QImage shot = view.viewport()->grab().toImage();
        const QPoint centre = delegate->PictureRect(view.visualRect(model.index(row, 0))).center();
        return shot.pixel(centre * shot.devicePixelRatio());
    }

    test::TempDir dir;
    QString red;
    std::vector<std::unique_ptr<catalog::CFileInfo>> files;
    catalog::IconImage icon;
    QStandardItemModel model;
    PictureCache cache;
    QListView view;
    LargeIconDelegate* delegate = nullptr;
};

TEST_F(LargeIconView, CellsHoldTheBoxAndTwoLinesOfName) {
    QStyleOptionViewItem option;
    option.initFrom(&view);
    for (const QSize box : {QSize(102, 77), QSize(320, 240), QSize(64, 48)}) {
        delegate->SetPictureSize(box);
        const QSize hint = delegate->sizeHint(option, model.index(0, 0));
        EXPECT_GE(hint.width(), box.width());
        EXPECT_GE(hint.height(), box.height() + 2 * option.fontMetrics.lineSpacing());
        const QRect cell(QPoint(10, 20), hint);
        EXPECT_TRUE(cell.contains(delegate->PictureRect(cell))) << box.width();
    }
}

TEST_F(LargeIconView, DrawsTheRowIconUntilThePictureArrivesThenThePicture) {
    QSignalSpy ready(&cache, &PictureCache::PictureReady);
    EXPECT_FALSE(IsRed(CentreOfPicture(0))) << "nothing read on the UI thread yet";
    EXPECT_TRUE(IsGreen(CentreOfPicture(1))) << "the program's own icon";
    EXPECT_TRUE(IsBlue(CentreOfPicture(2))) << "the row's icon";
    ASSERT_TRUE(WaitUntil([&] { return ready.count() == 1; }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(IsRed(CentreOfPicture(0)));
}

TEST_F(LargeIconView, MemoTooltipOnlyWithTheSwitchAndNeverAsMarkup) {
    const QString memo = QStringLiteral("<b>Disc 1</b> & <img src=\"/etc/passwd\">");
    model.item(0)->setData(memo, Qt::ToolTipRole);
    const QRect cell = view.visualRect(model.index(0, 0));
    auto hover = [&] {
        QHelpEvent event(QEvent::ToolTip, cell.center(), view.viewport()->mapToGlobal(cell.center()));
        QCoreApplication::sendEvent(view.viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };

    // Off first: a tooltip once shown lingers a moment after it is hidden.
    delegate->SetShowMemo(false);
    EXPECT_EQ(hover(), QString()) << "no tooltip, not even the model's";

    delegate->SetShowMemo(true);
    const QString shown = hover();
    EXPECT_EQ(shown, MemoToolTip(memo, QToolTip::font()));
    QTextDocument document;
    document.setHtml(shown);
    EXPECT_EQ(document.toPlainText(), memo) << "shown as written";
}

TEST(MemoToolTip, LinesAreAtMost600PixelsWideAndNothingIsLost) {
    QFont font;
    struct Case {
        const char* name;
        QString memo;
    };
    const Case cases[] = {
        {"one long word", QString(300, QLatin1Char('W'))},
        {"words", QStringLiteral("lorem ipsum dolor sit amet ").repeated(30)},
        {"Chinese", QString::fromUtf8("光盘备注内容").repeated(60)},
        {"own line breaks", QStringLiteral("short\r\nline\n\nafter a blank line")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        document.setDefaultFont(font);
        document.setDocumentMargin(0);
        document.setHtml(MemoToolTip(c.memo, font));
        EXPECT_LE(document.idealWidth(), kMemoTipMaxWidth);
        // Only line breaks were added (and trailing blanks dropped where a line was broken).
        QString plain = document.toPlainText();
        plain.remove(QChar::LineSeparator).remove(QChar::ParagraphSeparator).remove(QLatin1Char('\n'));
        plain.replace(QChar::Nbsp, QLatin1Char(' '));
        QString expected = c.memo;
        expected.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        EXPECT_EQ(plain.remove(QLatin1Char(' ')), expected.remove(QLatin1Char(' ')));
    }
}

}  // namespace
}  // namespace pelko::ui
