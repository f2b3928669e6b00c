// Pulls the plug on pelko-cli: every command that writes is run on a real catalog and killed
// with SIGKILL at random moments, anywhere from its start to the end of its normal run time or
// just after one of its changes to the catalog's files (a file made, renamed or removed). After
// each kill the catalog must load, every disc file it names must open, the catalog file must
// hold what it held before the command or what the command makes of it, and so must each disc
// and thumbnail; stale temporary files, real ones left by the kills and poisoned ones planted
// beside every file, must never be read.
//
// One catalog goes through a script of commands. For each command a completed run on a copy
// gives the state it produces, which is checked against what the command may change; then the
// command is killed on fresh copies of the catalog; the catalog of the last kill goes on to the
// next command, leftovers and all, after the command is run again if the kill came before it
// was saved (as a user would retry).
//
// PELKO_CRASH_KILLS sets the kills per command (default 5); PELKO_CRASH_SEED replays the
// choices of an earlier run; PELKO_CRASH_DIR is where the catalogs go (default: the temporary
// folder); with PELKO_CRASH_KEEP=1 they stay there, and each loss is copied beside the catalog
// before and after its command.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "catalog/ZipStore.h"
#include "crash/CatalogSnapshot.h"
#include "crash/KilledRun.h"
#include "scan/ExtrasBuilders.h"
#include "support/Pictures.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::test {
namespace {

namespace fs = std::filesystem;
using scan::test::BuildId3v1;
using scan::test::BuildZip;

const fs::path kCli = PELKO_CLI_PROGRAM;

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtoull(value, nullptr, 10) : fallback;
}

// A folder to scan: text files in nested folders, and pictures, songs and archives for the
// scan extras (thumbnails, MP3 memos, archive listings). `salt` varies names and contents.
void WriteFolder(const fs::path& root, int texts, int pictures, int songs, int archives, int salt = 0) {
    for (int i = 0; i < texts; ++i) {
        const fs::path file = root / ("docs/part" + std::to_string(i % 4)) /
                              ("note" + std::to_string(salt * 1000 + i) + ".txt");
        fs::create_directories(file.parent_path());
        std::ofstream(file) << std::string(static_cast<std::size_t>(10 + i * 7 + salt),
                                           'a' + static_cast<char>(i % 26));
    }
    for (int i = 0; i < pictures; ++i) {
        const int shade = 30 * i + salt;
        WriteFileBytes(root / "photos" / ("shot" + std::to_string(salt * 100 + i) + ".jpg"),
                       JpegOf(MakePicture(400 + 20 * i, 300, [shade](int x, int y) {
                           return Rgb{static_cast<std::uint8_t>(x + shade), static_cast<std::uint8_t>(y),
                                      static_cast<std::uint8_t>(shade)};
                       })));
    }
    for (int i = 0; i < songs; ++i) {
        const std::string n = std::to_string(salt * 100 + i);
        const std::string song =
            std::string(3000, '\x55') + BuildId3v1({"Song " + n, "Singer", "Album " + n});
        std::ofstream(root / ("song" + n + ".mp3"), std::ios::binary) << song;
    }
    for (int i = 0; i < archives; ++i) {
        std::vector<scan::test::ZipItem> items;
        for (int j = 0; j < 25; ++j) items.push_back({"inner/item" + std::to_string(j) + ".dat", 100u + j});
        std::ofstream(root / ("pack" + std::to_string(salt * 100 + i) + ".zip"), std::ios::binary)
            << BuildZip(items);
    }
}

// The catalogs go to the temporary folder, normally on a disk: its flushes stretch the moments
// between the steps of a save to milliseconds, where kills land. In memory (/dev/shm) the run
// is quicker and the kills find those moments less often.
fs::path MakeWorkFolder() {
    const char* chosen = std::getenv("PELKO_CRASH_DIR");
    const fs::path base = chosen && *chosen ? fs::path(chosen) : fs::temp_directory_path();
    std::string pattern = (base / "pelko-crash-XXXXXX").native();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a folder in " + base.native());
    return pattern;
}

// What a completed command may do to the catalog: the state before it with the changes the
// command is known to make applied, and what it may do freely.
struct Expectation {
    CatalogSnapshot model;
    std::set<std::string> rescanned;      // disc keys whose disc, thumbnails and totals change
    std::vector<std::string> newEntries;  // catalog paths where one new entry each appears
    bool merging = false;                 // any entries and categories may be added
};

std::string KeyAt(const CatalogSnapshot& s, const std::string& path) {
    for (const auto& [key, entry] : s.entries)
        if (entry.path == path) return key;
    throw std::runtime_error("no entry at " + path);
}

void SetMemo(Expectation& e, const std::string& path, const std::string& memo) {
    EntryState& entry = e.model.entries[KeyAt(e.model, path)];
    const std::size_t from = entry.identity.find(" | memo ") + 8;
    const std::size_t to = entry.identity.find(" | kind ");
    entry.identity.replace(from, to - from, memo);
}

// Every category and entry path that starts with `from` starts with `to` instead.
void Repath(Expectation& e, const std::string& from, const std::string& to) {
    auto renamed = [&](const std::string& path) {
        return path == from || path.starts_with(from + "\\") ? to + path.substr(from.size()) : path;
    };
    std::map<std::string, std::string> categories;
    for (const auto& [path, memo] : e.model.categories) categories[renamed(path)] = memo;
    e.model.categories = categories;
    for (auto& [key, entry] : e.model.entries) entry.path = renamed(entry.path);
}

void Remove(Expectation& e, const std::string& path) {
    std::erase_if(e.model.categories,
                  [&](const auto& c) { return c.first == path || c.first.starts_with(path + "\\"); });
    std::vector<std::string> keys;
    for (const auto& [key, entry] : e.model.entries)
        if (entry.path == path || entry.path.starts_with(path + "\\")) keys.push_back(key);
    for (const std::string& key : keys) {
        e.model.entries.erase(key);
        e.model.discs.erase(key);
        std::erase_if(e.model.pictures, [&](const auto& p) { return p.first.starts_with(key + "/"); });
    }
}

// What the completed run left differs from what the command may do: one line per difference.
std::vector<std::string> Unexpected(const CatalogSnapshot& after, const Expectation& e) {
    std::vector<std::string> problems = after.faults;
    const CatalogSnapshot& model = e.model;
    if (after.password != model.password) problems.push_back("password '" + after.password + "'");
    for (const auto& [path, memo] : model.categories) {
        const auto it = after.categories.find(path);
        if (it == after.categories.end())
            problems.push_back("category " + path + " is gone");
        else if (it->second != memo)
            problems.push_back("category " + path + " has memo '" + it->second + "'");
    }
    if (!e.merging)
        for (const auto& [path, memo] : after.categories)
            if (!model.categories.contains(path)) problems.push_back("category " + path + " appeared");
    std::vector<std::string> newEntries = e.newEntries;
    for (const auto& [key, entry] : after.entries) {
        const auto it = model.entries.find(key);
        if (it == model.entries.end()) {
            const auto place = std::find(newEntries.begin(), newEntries.end(), entry.path);
            if (place != newEntries.end())
                newEntries.erase(place);
            else if (!e.merging)
                problems.push_back("entry " + entry.path + " appeared");
        } else if (entry.path != it->second.path || entry.identity != it->second.identity ||
                   (!e.rescanned.contains(key) && entry.stats != it->second.stats)) {
            problems.push_back("entry " + it->second.path + " became " + entry.path + ": " + entry.identity +
                               " | " + entry.stats);
        }
    }
    for (const std::string& path : newEntries) problems.push_back("no new entry at " + path);
    for (const auto& [key, entry] : model.entries)
        if (!after.entries.contains(key)) problems.push_back("entry " + entry.path + " is gone");
    for (const auto& [key, disc] : model.discs) {
        const auto it = after.discs.find(key);
        if (it != after.discs.end() && !e.rescanned.contains(key) && it->second != disc)
            problems.push_back("disc " + key + " changed");
    }
    for (const auto& [file, hash] : model.pictures) {
        if (e.rescanned.contains(file.substr(0, file.find('/')))) continue;
        const auto it = after.pictures.find(file);
        if (it == after.pictures.end())
            problems.push_back("thumbnail " + file + " is gone");
        else if (it->second != hash)
            problems.push_back("thumbnail " + file + " changed");
    }
    return problems;
}

std::set<std::string> Lines(const CatalogSnapshot& s) {
    std::set<std::string> lines;
    std::istringstream in(s.Describe());
    for (std::string line; std::getline(in, line);) lines.insert(line);
    return lines;
}

// The lines of `killed` in neither `before` nor `after`, and the lines of both missing from it.
std::string Difference(const CatalogSnapshot& killed, const CatalogSnapshot& before,
                       const CatalogSnapshot& after) {
    const std::set<std::string> k = Lines(killed), b = Lines(before), a = Lines(after);
    std::string out;
    for (const std::string& line : k)
        if (!b.contains(line) && !a.contains(line)) out += "  only after the kill: " + line + '\n';
    for (const std::string& line : b)
        if (a.contains(line) && !k.contains(line)) out += "  lost: " + line + '\n';
    return out;
}

// The lines that differ between two states.
std::string Changes(const CatalogSnapshot& expected, const CatalogSnapshot& found) {
    const std::set<std::string> e = Lines(expected), f = Lines(found);
    std::string out;
    for (const std::string& line : e)
        if (!f.contains(line)) out += "  expected: " + line + '\n';
    for (const std::string& line : f)
        if (!e.contains(line)) out += "  found:    " + line + '\n';
    return out;
}

// What a kill left, judged unit by unit; empty when nothing was lost.
std::string Judge(const CatalogSnapshot& killed, const CatalogSnapshot& before,
                  const CatalogSnapshot& after) {
    std::vector<std::string> problems = killed.faults;
    const bool catalogBefore = killed.SameCatalog(before);
    const bool catalogAfter = killed.SameCatalog(after);
    if (!catalogBefore && !catalogAfter)
        problems.push_back("the catalog is neither as before nor as after the command");
    if (catalogAfter && !catalogBefore && !(killed.discs == after.discs && killed.pictures == after.pictures))
        problems.push_back("the catalog was saved before the discs and thumbnails it names");
    auto either = [](const auto& map, const std::string& key, const std::string& value) {
        const auto it = map.find(key);
        return it != map.end() && it->second == value;
    };
    for (const auto& [key, disc] : killed.discs)
        if (!either(before.discs, key, disc) && !either(after.discs, key, disc))
            problems.push_back("disc " + key + " is neither as before nor as after");
    for (const auto& [file, hash] : killed.pictures)
        if (!either(before.pictures, file, hash) && !either(after.pictures, file, hash))
            problems.push_back("thumbnail " + file + " is neither as before nor as after");
    for (const auto& [file, hash] : before.pictures) {
        const std::string key = file.substr(0, file.find('/'));
        if (killed.entries.contains(key) && after.pictures.contains(file) && !killed.pictures.contains(file))
            problems.push_back("thumbnail " + file + " is gone");
    }
    std::string report;
    for (const std::string& problem : problems) report += "  " + problem + '\n';
    return report.empty() ? report : report + Difference(killed, before, after);
}

struct Step {
    Step(std::string title, std::vector<std::string> args, std::function<void(Expectation&)> expect = {},
         std::function<void()> prepare = {}, std::optional<std::string> newPassword = std::nullopt)
        : title(std::move(title)),
          args(std::move(args)),
          expect(std::move(expect)),
          prepare(std::move(prepare)),
          newPassword(std::move(newPassword)) {}

    std::string title;
    std::vector<std::string> args;
    std::function<void(Expectation&)> expect;  // what the command changes
    std::function<void()> prepare;             // changes to the scanned folders before the command
    std::optional<std::string> newPassword;    // for passwd: the line after the login
};

class CrashSafety : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("PELKO_SETTINGS_FILE", (m_root / "Pelko.conf").c_str(), 1);
        WriteFolder(m_trees / "Album", 40, 4, 3, 1);
        WriteFolder(m_trees / "Tools", 150, 0, 0, 2);
        WriteFolder(m_trees / "Remote1", 20, 1, 0, 0);
        WriteFolder(m_trees / "Remote2", 10, 0, 2, 0);
        WriteFolder(m_trees / "Extra1", 15, 0, 0, 1);
        WriteFolder(m_trees / "Extra2", 8, 0, 1, 0);

        // Another catalog to merge, and discs made elsewhere to add (one ZIP, one plain file).
        auto run = [](const fs::path& catalog, const std::vector<std::string>& args) {
            const InProcessRun done = RunInProcess(catalog, args);
            EXPECT_EQ(done.status, 0) << done.err;
            return done.out.substr(0, done.out.find('\n'));
        };
        m_source = m_root / "source";
        run(m_source, {"mkcat", "Pelko", "Remote"});
        run(m_source, {"scan-folder", (m_trees / "Remote1").native(), "--category", "Remote"});
        run(m_source,
            {"scan-folder", (m_trees / "Remote2").native(), "--category", "音乐", "--memo", "远方"});
        m_extraZip = run(m_root / "elsewhere", {"scan-folder", (m_trees / "Extra1").native()});
        const fs::path zip2 = run(m_root / "elsewhere", {"scan-folder", (m_trees / "Extra2").native()});
        fs::path plainName = zip2.filename();
        plainName.replace_extension();
        const catalog::ZipEntryRead plain = catalog::ReadZipEntry(zip2, text::FromUtf8(plainName.native()));
        ASSERT_EQ(plain.status, catalog::ZipEntryRead::Status::Ok);
        m_extraPlain = m_root / "loose" / plainName;
        WriteFileBytes(m_extraPlain, plain.bytes);

        run(m_chain, {"init"});
        ASSERT_FALSE(HasFailure());
    }
    void TearDown() override {
        ::unsetenv("PELKO_SETTINGS_FILE");
        std::error_code ec;
        if (EnvNumber("PELKO_CRASH_KEEP", 0) == 0)
            fs::remove_all(m_root, ec);
        else
            std::cout << "crash safety: the catalogs are kept in " << m_root.native() << std::endl;
    }

    std::vector<Step> Script() const {
        const std::string album = (m_trees / "Album").native();
        const std::string tools = (m_trees / "Tools").native();
        const fs::path trees = m_trees;
        return {
            {"mkcat",
             {"mkcat", "Pelko", "Backup"},
             [](Expectation& e) { e.model.categories["Pelko\\Backup"] = ""; }},
            {"scan a new folder",
             {"scan-folder", album, "--category", "Backup", "--memo", "相册"},
             [](Expectation& e) { e.newEntries = {"Pelko\\Backup\\Album"}; }},
            {"scan another folder",
             {"scan-folder", tools},
             [](Expectation& e) { e.newEntries = {"Pelko\\Tools"}; }},
            {"memo",
             {"memo", "Tools", "工具盘"},
             [](Expectation& e) { SetMemo(e, "Pelko\\Tools", "工具盘"); }},
            {"scan a folder again",
             {"scan-folder", album},
             [](Expectation& e) { e.rescanned = {KeyAt(e.model, "Pelko\\Backup\\Album")}; },
             [trees] { WriteFolder(trees / "Album", 30, 1, 1, 1, 7); }},
            {"export text", {"export", "--text", "--no-progress"}},
            {"rename a category",
             {"rename", "Backup", "Saved"},
             [](Expectation& e) { Repath(e, "Pelko\\Backup", "Pelko\\Saved"); }},
            {"set the password",
             {"passwd"},
             [](Expectation& e) { e.model.password = "secret"; },
             {},
             "secret"},
            {"mv",
             {"mv", "Tools", "Saved"},
             [](Expectation& e) { Repath(e, "Pelko\\Tools", "Pelko\\Saved\\Tools"); }},
            {"merge", {"merge", m_source.native()}, [](Expectation& e) { e.merging = true; }},
            {"add a ZIP",
             {"add", "--category", "Saved", "--memo", "外来", m_extraZip.native()},
             [](Expectation& e) { e.newEntries = {"Pelko\\Saved\\Extra1"}; }},
            {"export HTML", {"export", "--html", "--no-progress"}},
            {"sort", {"sort"}},
            {"scan a moved entry again",
             {"scan-folder", tools},
             [](Expectation& e) { e.rescanned = {KeyAt(e.model, "Pelko\\Saved\\Tools")}; },
             [trees] { WriteFolder(trees / "Tools", 60, 0, 0, 1, 9); }},
            {"add a plain disc file",
             {"add", m_extraPlain.native()},
             [](Expectation& e) { e.newEntries = {"Pelko\\Extra2"}; }},
            {"rm an entry",
             {"rm", "--yes", "Saved/Album"},
             [](Expectation& e) { Remove(e, "Pelko\\Saved\\Album"); }},
            {"clear the password", {"passwd"}, [](Expectation& e) { e.model.password.clear(); }, {}, ""},
            {"rm a category", {"rm", "--yes", "Remote"}, [](Expectation& e) { Remove(e, "Pelko\\Remote"); }},
            {"scan a deleted folder anew",
             {"scan-folder", album, "--category", "Saved"},
             [](Expectation& e) { e.newEntries = {"Pelko\\Saved\\Album"}; }},
        };
    }

    // Runs the step's command on `catalog`, watching the catalog's folders for the kill plan.
    ProgramRun Run(const Step& step, const fs::path& catalog, const std::string& password,
                   std::optional<KillPlan> kill = std::nullopt) {
        std::vector<std::string> args{"--catalog", catalog.native(), "--password-stdin"};
        args.insert(args.end(), step.args.begin(), step.args.end());
        std::string input = password.empty() ? "" : password + "\n";
        if (step.newPassword) input += *step.newPassword + "\n";
        return RunProgram(kCli, args, input, m_root / "scratch", {catalog, catalog / "Disk"}, kill);
    }

    const fs::path m_root = MakeWorkFolder();
    const fs::path m_trees = m_root / "trees";
    const fs::path m_chain = m_root / "catalog";
    fs::path m_source;
    fs::path m_extraZip;
    fs::path m_extraPlain;
};

TEST_F(CrashSafety, KilledCommandsLeaveTheCatalogAsBeforeOrAfterThem) {
    const std::uint64_t seed = EnvNumber("PELKO_CRASH_SEED", std::random_device{}());
    const int killsPerStep = static_cast<int>(EnvNumber("PELKO_CRASH_KILLS", 5));
    std::cout << "crash safety: seed " << seed << " (replay with PELKO_CRASH_SEED=" << seed << "), "
              << killsPerStep << " kills per command" << std::endl;
    std::mt19937_64 random(seed);

    int kills = 0;
    int survived = 0;
    int mixed = 0;
    for (const Step& step : Script()) {
        SCOPED_TRACE(step.title);
        if (step.prepare) step.prepare();
        PlantPoisonedTemporaries(m_chain);
        const CatalogSnapshot before = TakeSnapshot(m_chain);
        ASSERT_TRUE(before.faults.empty()) << step.title << ": before it\n" << before.Describe();
        Expectation expected;
        expected.model = before;
        if (step.expect) step.expect(expected);

        // A completed run: how long the command takes, and what it makes of the catalog.
        const fs::path reference = m_root / "reference";
        fs::remove_all(reference);
        CopyFolder(m_chain, reference);
        const ProgramRun completed = Run(step, reference, before.password);
        const CatalogSnapshot after = TakeSnapshot(reference, &before.discNames);
        ASSERT_EQ(completed.status, 0) << step.title << ": " << completed.err;
        const std::vector<std::string> unexpected = Unexpected(after, expected);
        EXPECT_TRUE(unexpected.empty()) << step.title << " (completed) left:\n  " << [&] {
            std::string text;
            for (const std::string& line : unexpected) text += line + "\n  ";
            return text;
        }();

        const fs::path killed = m_root / "killed";
        // Half the kills come at a moment of the run chosen from its start to its end, half
        // just after one of its changes to the catalog's files. Runs can be quicker than the
        // first; the clock aims at the quickest run seen.
        Seconds took = completed.took;
        int stepKills = 0, leftBefore = 0, leftAfter = 0;
        for (int attempt = 0; stepKills < killsPerStep && attempt < 4 * killsPerStep; ++attempt) {
            KillPlan plan;
            if (completed.changes > 0 && std::uniform_int_distribution<int>(0, 1)(random)) {
                plan.afterChanges = std::uniform_int_distribution<int>(1, completed.changes)(random);
                plan.after = Seconds(std::uniform_real_distribution<double>(0, 200e-6)(random));
            } else {
                plan.after = took * std::uniform_real_distribution<double>(0, 1)(random);
            }
            const std::string where =
                step.title + ", killed " + std::to_string(plan.after.count() * 1000) + " ms after " +
                (plan.afterChanges ? "change " + std::to_string(plan.afterChanges) + " of " +
                                         std::to_string(completed.changes)
                                   : "the start of a " + std::to_string(took.count() * 1000) + " ms run");
            fs::remove_all(killed);
            CopyFolder(m_chain, killed);
            const ProgramRun run = Run(step, killed, before.password, plan);
            const CatalogSnapshot left = TakeSnapshot(killed, &before.discNames);
            if (!run.killed) {
                EXPECT_EQ(run.status, completed.status) << where << " (it ended first): " << run.err;
                EXPECT_TRUE(left.faults.empty() && left.SameEverything(after))
                    << where << " (it ended first):\n"
                    << Changes(after, left);
                took = std::min(took, run.took);
                continue;
            }
            ++kills;
            ++stepKills;
            const std::string loss = Judge(left, before, after);
            EXPECT_TRUE(loss.empty()) << where << " (seed " << seed << "):\n" << loss;
            if (loss.empty()) {
                ++survived;
            } else if (EnvNumber("PELKO_CRASH_KEEP", 0) != 0) {
                const fs::path kept = m_root / ("loss" + std::to_string(kills));
                CopyFolder(m_chain, kept / "before");
                CopyFolder(reference, kept / "after");
                CopyFolder(killed, kept / "killed");
            }
            if (left.SameEverything(before)) {
                ++leftBefore;
            } else if (left.SameEverything(after)) {
                ++leftAfter;
            } else if (left.SameCatalog(before)) {
                ++mixed;
            }
        }
        std::cout << "  " << step.title << ": " << took.count() * 1000 << " ms, " << completed.changes
                  << " changes; " << stepKills << " kills left " << leftBefore << " as before, " << leftAfter
                  << " as after" << std::endl;

        // The catalog of the last kill goes on. A command killed before it was saved is run
        // again, as its user would, and must then do all it does on an untouched catalog.
        if (fs::exists(killed)) {
            const CatalogSnapshot left = TakeSnapshot(killed, &before.discNames);
            if (!left.SameCatalog(after)) {
                const ProgramRun again = Run(step, killed, left.password);
                const CatalogSnapshot retried = TakeSnapshot(killed, &before.discNames);
                EXPECT_EQ(again.status, 0) << step.title << " run again after a kill: " << again.err;
                EXPECT_TRUE(retried.faults.empty() && retried.SameEverything(after))
                    << step.title << " run again after a kill:\n"
                    << Changes(after, retried);
            }
            fs::remove_all(m_chain);
            fs::rename(killed, m_chain);
        } else {
            fs::remove_all(m_chain);
            fs::rename(reference, m_chain);
        }
    }
    std::vector<fs::path> leftovers = TemporaryFiles(m_chain);
    std::erase_if(leftovers, [](const fs::path& file) { return file.native().ends_with("POISON"); });
    std::cout << "crash safety: " << survived << " of " << kills << " kills survived (seed " << seed << "); "
              << mixed << " left new discs or thumbnails beside the old catalog file; " << leftovers.size()
              << " temporary files left by kills lie in the catalog folder" << std::endl;
}

}  // namespace
}  // namespace pelko::test
