#include "shell/FindController.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "catalog/CCD.h"
#include "catalog/CPelkoDoc.h"
#include "settings/SettingsStore.h"
#include "search/FindDescription.h"
#include "search/FindProgress.h"
#include "shell/AppSettings.h"
#include "shell/BusyState.h"
#include "shell/FindDialogModel.h"
#include "shell/FindDialogPort.h"
#include "shell/FindWindow.h"
#include "support/DiscBuilder.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

using catalog::MessageKind;
using text::Local;

// The find dialog as a script: the test's function plays the user on the model as the dialog
// opened it and returns true for OK, which then goes through the OK rules; a refused OK ends the
// script like Cancel.
class ScriptedDialog final : public FindDialogPort {
public:
    ScriptedDialog(catalog::UserInterface& ui, catalog::CPelkoDoc& doc) : m_ui(ui), m_doc(doc) {}
    bool RunFindDialog(FindDialogModel& model) override {
        ++runs;
        return script && script(model) && model.Accept(m_ui, m_doc.History());
    }
    std::function<bool(FindDialogModel&)> script;
    int runs = 0;

private:
    catalog::UserInterface& m_ui;
    catalog::CPelkoDoc& m_doc;
};

class WaitDialog final : public search::FindProgress {
public:
    explicit WaitDialog(int& open) : m_open(open) { ++m_open; }
    ~WaitDialog() override { --m_open; }
    void ShowFolderPath(std::string_view) override {}
    void ShowProgress(int) override {}

private:
    int& m_open;
};

// The main window: records what the find command asks of it; posted tasks wait in a queue that
// the test runs, as the user-interface thread would.
class FakeWindow final : public FindWindow {
public:
    void SaveOpenScanObject() override { calls.push_back("save"); }
    void SelectCategory(const catalog::CCategory& category) override {
        calls.push_back("select " + category.Path());
    }
    void ClearMessages() override { calls.push_back("clear"); }
    std::unique_ptr<search::FindProgress> OpenWaitDialog(std::string_view text) override {
        calls.push_back("wait " + std::string(text));
        return std::make_unique<WaitDialog>(openWaitDialogs);
    }
    void RestartResultHighlighting() override { calls.push_back("restart"); }
    void ShowNextResultLine() override { calls.push_back("next"); }
    void PostToUiThread(std::function<void()> task) override {
        {
            const std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(task));
        }
        m_posted.notify_one();
    }
    // Runs posted tasks until `done` holds.
    void RunUntil(const std::function<bool()>& done) {
        while (!done()) {
            std::unique_lock lock(m_mutex);
            m_posted.wait(lock, [&] { return !m_tasks.empty(); });
            auto task = std::move(m_tasks.front());
            m_tasks.pop_front();
            lock.unlock();
            task();
        }
    }
    void RunPending() {
        std::unique_lock lock(m_mutex);
        while (!m_tasks.empty()) {
            auto task = std::move(m_tasks.front());
            m_tasks.pop_front();
            lock.unlock();
            task();
            lock.lock();
        }
    }
    bool Called(std::string_view call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }

    std::vector<std::string> calls;
    int openWaitDialogs = 0;

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_tasks;
};

class FindControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.LoadCatalog());
        root = doc.Root();
        disc = &test::AddDisc(catalogDir.path(), *root, Local("盘"), "L", 1, [](catalog::CCD& cd) {
            test::AddFile(cd, "Alpha.txt");
            test::AddFile(cd, "beta.TXT");
            cd.m_strReadme = "alpha readme";
        });
        software = root->FindSubcategory(Local("软件"));
        ASSERT_NE(software, nullptr);
        software->m_strMemo = "alpha";
        doc.SetModified(false);
    }

    // Runs the find command with `choose` as the user's part in the dialog, to its end.
    void Find(std::function<bool(FindDialogModel&)> choose, FindScope preselected = {}) {
        dialog.script = std::move(choose);
        controller.Find(preselected);
        window.RunUntil([&] { return !controller.IsSearching(); });
    }

    std::vector<std::string> Lines(MessageKind kind) const {
        std::vector<std::string> out;
        for (const auto& [k, text] : log.Lines())
            if (k == kind) out.push_back(text::ToUtf8(text));
        return out;
    }

    test::TempDir catalogDir;
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CPelkoDoc doc{catalogDir.path(), log, ui};
    settings::MemorySettingsStore store;
    AppSettings settings;
    BusyState busy;
    ScriptedDialog dialog{ui, doc};
    FakeWindow window;
    FindController controller{{busy, settings, store, doc, log, ui, dialog, window}};
    catalog::CRootCategory* root = nullptr;
    catalog::CCategory* software = nullptr;
    catalog::CDiskInfo* disc = nullptr;
};

TEST_F(FindControllerTest, BusyGuards) {
    busy.Set(Busy::Scanning);
    controller.Find();
    EXPECT_EQ(Lines(MessageKind::Error), std::vector<std::string>{"正在扫描光盘，不能执行查找任务"});
    busy.Set(Busy::Searching);
    controller.Find();
    EXPECT_EQ(dialog.runs, 0);
    EXPECT_EQ(log.Lines().size(), 1u) << "a second search is refused without a word";
}

TEST_F(FindControllerTest, DialogOpensOnTheSettingsAndTheChosenItem) {
    settings.fwFilter = "abc";
    settings.fwFindWhat = search::kFileName | search::kCategoryName;
    settings.fwCurCategory = true;
    settings.fwPartMatch = false;
    FindDialogModel onEntry(settings, doc.History(), FindScope::Entry(*disc), *root);
    EXPECT_EQ(onEntry.text, "abc");
    EXPECT_EQ(onEntry.checkedTargets, search::kFileName) << "catalog boxes are set only on a category";
    EXPECT_FALSE(onEntry.includeSubcategories);
    EXPECT_TRUE(onEntry.wholeMatch);
    EXPECT_FALSE(onEntry.CatalogTargetsVisible());
    onEntry.CheckAllTargets(true);
    EXPECT_EQ(onEntry.checkedTargets, search::kContentTargets);
    onEntry.Select(FindScope::Category(*software));
    EXPECT_TRUE(onEntry.CatalogTargetsVisible());
    onEntry.CheckAllTargets(true);
    EXPECT_EQ(onEntry.checkedTargets, search::kAllTargets);

    FindDialogModel onRoot(settings, doc.History(), {}, *root);
    EXPECT_EQ(onRoot.Selected().category, root);
    EXPECT_EQ(onRoot.checkedTargets, search::kFileName | search::kCategoryName);
}

TEST_F(FindControllerTest, OkRules) {
    catalog::CFindHistory& history = doc.History();
    FindDialogModel model(settings, history, {}, *root);
    model.text = "  ";
    model.checkedTargets = search::kFileName | search::kCategoryName;
    EXPECT_FALSE(model.Accept(ui, history));
    EXPECT_EQ(ui.messages, std::vector<std::string>{Local("查找内容不能为空!")});
    EXPECT_TRUE(history.Strings().empty());

    model.checkedTargets = search::kCategoryName;
    model.checkReadme = true;
    ASSERT_TRUE(model.Accept(ui, history)) << "an empty text is fine for catalog targets";
    EXPECT_EQ(history.Strings(), std::vector<std::string>{""});
    EXPECT_FALSE(model.checkReadme) << "readme cleared with a catalog target";
    EXPECT_FALSE(model.Criteria().readme);

    model.text = " x ";
    model.Select({});
    EXPECT_FALSE(model.Accept(ui, history));
    EXPECT_EQ(ui.messages.back(), Local("请选择类别或光盘"));
    EXPECT_EQ(history.Strings().front(), "x") << "the text went into the history before";

    model.Select(FindScope::Entry(*disc));
    model.checkedTargets = search::kAllTargets;
    model.checkReadme = true;
    ASSERT_TRUE(model.Accept(ui, history));
    EXPECT_EQ(model.Criteria().targets, search::kContentTargets) << "hidden boxes do not count";
    EXPECT_TRUE(model.Criteria().readme);

    model.ClearHistory(doc);
    EXPECT_TRUE(history.Strings().empty());
    EXPECT_TRUE(model.text.empty());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(FindControllerTest, FindKeepsTheSettingsAndWritesTheSearch) {
    Find([](FindDialogModel& model) {
        model.text = " ALPHA ";
        model.checkedTargets = search::kFileName | search::kCategoryMemo;
        model.includeSubcategories = true;
        return true;
    });
    EXPECT_EQ(store.ReadString("FW_strFilter", "?"), "ALPHA") << "stored as typed, trimmed";
    EXPECT_EQ(settings.fwFilter, "alpha") << "folded in memory";
    EXPECT_EQ(store.ReadInt("FW_nFindWhat", 0), search::kFileName | search::kCategoryMemo);
    EXPECT_EQ(store.ReadInt("FW_bPartMatch", 0), 1);
    EXPECT_EQ(store.ReadInt("FW_bCurCategory", 9), 0);
    EXPECT_EQ(store.ReadInt("FW_bCase", 9), 0);
    EXPECT_EQ(store.ReadInt("FW_bCheckReadMe", 9), 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.History().Strings().front(), "ALPHA");

    EXPECT_EQ(Lines(MessageKind::Detail),
              (std::vector<std::string>{"范围：类别<< Pelko >>及其所有子类别下下的光盘",
                                        "条件：部分匹配，不分大小写", "内容：alpha"}));
    EXPECT_EQ(Lines(MessageKind::Result), (std::vector<std::string>{"Pelko\\盘\\Alpha.txt", "Pelko\\软件"}));
    EXPECT_EQ(Lines(MessageKind::Hint),
              (std::vector<std::string>{"正在查找...", "符合条件的查找结果共有 2 项"}));
    EXPECT_EQ(window.calls, (std::vector<std::string>{"save", "select Pelko", "clear", "wait alpha",
                                                      "restart", "next", "restart"}));
    EXPECT_EQ(window.openWaitDialogs, 0);
    EXPECT_TRUE(busy.IsIdle());
}

TEST_F(FindControllerTest, OneScanObjectOnlyItsOwnCategoryAndNoClearing) {
    store.WriteInt("ClearBeforeInfo", 0);
    Find(
        [](FindDialogModel& model) {
            model.text = "TXT";
            model.caseSensitive = true;
            model.checkReadme = true;
            model.checkedTargets = search::kFileName | search::kDiscName;
            return true;
        },
        FindScope::Entry(*disc));
    EXPECT_FALSE(window.Called("clear"));
    EXPECT_EQ(store.ReadInt("FW_nFindWhat", 0), search::kFileName) << "no catalog bits for a scan object";
    EXPECT_EQ(store.ReadInt("FW_bCheckReadMe", 0), 1);
    EXPECT_EQ(settings.fwFilter, "TXT") << "a case-sensitive text stays as typed";
    EXPECT_EQ(Lines(MessageKind::Detail)[0], "范围：光盘<< Pelko\\盘 >>");
    EXPECT_EQ(Lines(MessageKind::Detail)[1], "对象：文件名称");
    EXPECT_EQ(Lines(MessageKind::Result), std::vector<std::string>{"Pelko\\盘\\beta.TXT"});

    Find([&](FindDialogModel& model) {
        model.text = "alpha";
        model.checkedTargets = search::kCategoryMemo | search::kFileName;
        model.includeSubcategories = false;
        model.Select(FindScope::Category(*software));
        return true;
    });
    EXPECT_EQ(store.ReadInt("FW_bCurCategory", 0), 1);
    EXPECT_EQ(Lines(MessageKind::Result).back(), "Pelko\\软件") << "its own memo, not the root's scan object";
    EXPECT_EQ(Lines(MessageKind::Hint).back(), "符合条件的查找结果共有 1 项");
}

TEST_F(FindControllerTest, CancelledDialogChangesNothing) {
    Find([](FindDialogModel&) { return false; });
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(store.ReadInt("FW_nFindWhat", -1), -1);
}

// Holds the worker at a given hit until the test has pressed Cancel.
class GateLog final : public catalog::MessageLog {
public:
    explicit GateLog(int holdAt) : m_holdAt(holdAt) {}
    void Post(MessageKind kind, std::string_view text) override {
        record.Post(kind, text);
        if (kind != MessageKind::Result) return;
        std::unique_lock lock(m_mutex);
        if (++m_hits != m_holdAt) return;
        m_reached = true;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_released; });
    }
    void WaitUntilHeld() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_reached; });
    }
    void Release() {
        const std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }
    test::RecordingLog record;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_holdAt;
    int m_hits = 0;
    bool m_reached = false;
    bool m_released = false;
};

TEST_F(FindControllerTest, CancelReportsTheHitsSoFar) {
    for (int d = 0; d < 6; ++d) {
        test::AddDisc(catalogDir.path(), *software, "d" + std::to_string(d), "M", 10 + d,
                      [](catalog::CCD& cd) {
                          for (int f = 0; f < 300; ++f) test::AddFile(cd, "hit" + std::to_string(f));
                      });
    }
    GateLog gate(100);
    FindController gated({busy, settings, store, doc, gate, ui, dialog, window});
    dialog.script = [](FindDialogModel& model) {
        model.text = "hit";
        model.checkedTargets = search::kFileName;
        return true;
    };
    gated.Find();
    gate.WaitUntilHeld();
    gated.Cancel();
    gate.Release();
    window.RunUntil([&] { return !gated.IsSearching(); });
    int hits = 0;
    std::string countLine;
    for (const auto& [kind, line] : gate.record.Lines()) {
        if (kind == MessageKind::Result) ++hits;
        if (kind == MessageKind::Hint) countLine = line;
    }
    EXPECT_GE(hits, 100);
    EXPECT_LT(hits, 1800);
    EXPECT_EQ(countLine, search::CountLine(hits));
    EXPECT_TRUE(busy.IsIdle());
    gated.Cancel();  // after the end: nothing to touch
}

TEST_F(FindControllerTest, FinishArrivingAfterTheControllerIsGone) {
    auto shortLived = std::make_unique<FindController>(
        FindController::Services{busy, settings, store, doc, log, ui, dialog, window});
    dialog.script = [](FindDialogModel& model) {
        model.text = "alpha";
        return true;
    };
    shortLived->Find();
    EXPECT_TRUE(busy.IsSearching());
    shortLived.reset();  // stops and joins the worker
    EXPECT_TRUE(busy.IsIdle());
    window.RunPending();  // the posted finish finds no controller
    EXPECT_EQ(Lines(MessageKind::Hint).size(), 1u) << "no count line from a controller that is gone";
}

}  // namespace
}  // namespace pelko::shell
