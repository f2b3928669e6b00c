#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "ExportFixtures.h"
#include "export/DocumentOpener.h"
#include "export/ExportDialog.h"
#include "export/ExportSink.h"
#include "export/HelpPages.h"
#include "support/TempDir.h"

namespace pelko::exporting {
namespace {

namespace fs = std::filesystem;

class FakeView final : public ExportDialogView {
public:
    void ShowControls(const ExportControls& c) override { controls = c; }
    void SetProgress(int percent) override { progress = percent; }
    void OpenEditAndPrint() override { ++editAndPrint; }
    ExportControls controls;
    int progress = -1;
    int editAndPrint = 0;
};

class FakeOpener final : public DocumentOpener {
public:
    bool Open(const fs::path& file) override {
        opened.push_back(file);
        return result;
    }
    std::vector<fs::path> opened;
    bool result = true;
};

// Hands the finished call over to the test's thread, as the window hands it to its own.
class HandOverSink final : public ExportSink {
public:
    void ShowPath(const fs::path&) override {}
    void SetProgress(int) override {}
    void FileWritten(const fs::path&) override {}
    void ExportFinished(ExportEnd) override {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
        m_done.notify_all();
    }
    void WaitFinished() {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [this] { return m_finished; });
        m_finished = false;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
};

class ExportDialogTest : public ::testing::Test {
protected:
    ExportDialog Make(ExportFormat mode) {
        return ExportDialog(
            {dir.path(), catalog.root, ExportStyle::Defaults(), catalog.log, catalog.ui, opener}, mode, view,
            sink);
    }

    test::TestCatalog catalog;
    test::TempDir dir;
    FakeView view;
    FakeOpener opener;
    HandOverSink sink;
};

TEST_F(ExportDialogTest, OpeningPreparesTheFoldersAndIndexPagesInEitherMode) {
    catalog.Entry("Music", "CD");
    ExportDialog dialog = Make(ExportFormat::Text);
    dialog.SetListedTypes(true);
    dialog.Open();
    EXPECT_TRUE(fs::is_directory(dir / "Pelko/Music"));
    EXPECT_TRUE(fs::exists(dir / "Pelko/index.htm"));
    EXPECT_TRUE(fs::exists(dir / "Pelko/indexTxt.htm"));
    EXPECT_TRUE(view.controls.allTypesChecked) << "the type boxes are reset on opening";
    EXPECT_FALSE(view.controls.listedTypesChecked);
    EXPECT_EQ(dialog.Caption(), text::Local("导出为文本"));
    EXPECT_EQ(Make(ExportFormat::Html).Caption(), text::Local("导出到网页文件..."));
}

TEST_F(ExportDialogTest, TypeControlsFollowTheirRules) {
    ExportDialog dialog = Make(ExportFormat::Text);
    dialog.Open();
    EXPECT_TRUE(view.controls.allTypesEnabled);
    EXPECT_FALSE(view.controls.typeListEnabled);

    dialog.SetListedTypes(true);
    EXPECT_FALSE(view.controls.allTypesChecked);
    EXPECT_TRUE(view.controls.typeListEnabled);
    dialog.SetFoldersOnly(true);
    EXPECT_FALSE(view.controls.allTypesEnabled);
    EXPECT_FALSE(view.controls.listedTypesEnabled);
    EXPECT_FALSE(view.controls.typeListEnabled);
    dialog.SetFoldersOnly(false);
    EXPECT_TRUE(view.controls.typeListEnabled);
    dialog.SetAllTypes(true);
    EXPECT_FALSE(view.controls.listedTypesChecked);
    EXPECT_FALSE(view.controls.typeListEnabled);
    dialog.SetAllTypes(false);
    EXPECT_TRUE(view.controls.listedTypesChecked);
}

TEST_F(ExportDialogTest, StartRunsTheWorkerAndFinishedReturnsToIdle) {
    ExportDialog dialog = Make(ExportFormat::Text);
    dialog.Open();
    dialog.SetListedTypes(true);
    dialog.SetTypeList("*.EXE");
    ASSERT_TRUE(dialog.Start(&catalog.root));
    EXPECT_TRUE(dialog.IsExporting());
    EXPECT_FALSE(dialog.CanClose());
    const ExportControls running = view.controls;
    EXPECT_TRUE(running.progressVisible);
    EXPECT_TRUE(running.stopEnabled);
    EXPECT_FALSE(running.exportEnabled);
    EXPECT_FALSE(running.exitEnabled);
    EXPECT_FALSE(running.allTypesEnabled);
    EXPECT_FALSE(running.listedTypesEnabled);
    EXPECT_FALSE(running.typeListEnabled);
    EXPECT_FALSE(dialog.Start(&catalog.root)) << "one export at a time";

    sink.WaitFinished();
    dialog.OnExportFinished();
    EXPECT_FALSE(dialog.IsExporting());
    EXPECT_TRUE(dialog.CanClose());
    EXPECT_EQ(view.progress, 0);
    EXPECT_FALSE(view.controls.progressVisible);
    EXPECT_FALSE(view.controls.stopEnabled);
    EXPECT_TRUE(view.controls.exportEnabled);
    EXPECT_TRUE(view.controls.typeListEnabled) << "the type rules apply again";
    EXPECT_EQ(dialog.Filter().typeList, "*.EXE") << "the window keeps what the user typed";

    // A second export after the first has finished.
    ASSERT_TRUE(dialog.Start(&catalog.root));
    dialog.Stop();
    sink.WaitFinished();
    dialog.OnExportFinished();
    EXPECT_FALSE(dialog.IsExporting());
}

TEST_F(ExportDialogTest, EditAndPrintDependsOnTheMode) {
    ExportDialog text = Make(ExportFormat::Text);
    text.EditAndPrint();
    EXPECT_EQ(view.editAndPrint, 1);
    EXPECT_TRUE(opener.opened.empty());

    ExportDialog html = Make(ExportFormat::Html);
    html.EditAndPrint();
    EXPECT_EQ(catalog.ui.messages,
              std::vector<std::string>{text::Local("尚未进行网页文件的导出，因此不能浏览")});
    EXPECT_TRUE(opener.opened.empty());
    html.Open();
    html.EditAndPrint();
    EXPECT_EQ(opener.opened, std::vector<fs::path>{dir / "Pelko/index.htm"});

    catalog.Entry("New", "x");
    OpenExportFolder(dir.path(), catalog.root, opener);
    EXPECT_EQ(opener.opened.back(), dir / "Pelko");
    EXPECT_TRUE(fs::is_directory(dir / "Pelko/New"));
}

}  // namespace
}  // namespace pelko::exporting
