#pragma once
// What the main window is doing: idle, scanning or searching. One value shared by the commands
// and the workers, so it is atomic. Commands that must not run meanwhile ask Refuses(), which
// reports the operation's own text for the running kind at error level.

#include <atomic>
#include <string_view>

namespace pelko::catalog {
class MessageLog;
}

namespace pelko::shell {

enum class Busy : int { Idle = 0, Scanning = 1, Searching = 2 };

// The texts an operation reports when it is refused while scanning and while searching (UTF-8).
// An operation without a text for scanning may run during a scan: the scan worker builds its
// disc alone and touches no catalog structure, while a search reads the whole tree.
struct BusyTexts {
    std::string_view whileScanning;
    std::string_view whileSearching;
};

class BusyState {
public:
    Busy Get() const { return m_state.load(std::memory_order_acquire); }
    void Set(Busy state) { m_state.store(state, std::memory_order_release); }
    bool IsIdle() const { return Get() == Busy::Idle; }
    bool IsScanning() const { return Get() == Busy::Scanning; }
    bool IsSearching() const { return Get() == Busy::Searching; }

    // Changes `from` to `to` in one step; false (and no change) when the state was not `from`.
    bool TrySet(Busy from, Busy to) { return m_state.compare_exchange_strong(from, to, std::memory_order_acq_rel); }

    // True (after reporting the matching text as an error) when the operation must not start.
    bool Refuses(const BusyTexts& texts, catalog::MessageLog& log) const;

private:
    std::atomic<Busy> m_state{Busy::Idle};
};

// The guard texts of the editing operations.
inline constexpr BusyTexts kNewCategoryGuard{"正在扫描光盘，不能新建类别", "正在查找，不能新建类别"};
inline constexpr BusyTexts kDeleteGuard{"正在扫描光盘，不能进行删除操作", "正在查找，不能进行删除操作"};
inline constexpr BusyTexts kEditGuard{"正在扫描光盘，不能进行编辑操作", "正在查找，不能进行编辑操作"};
// Changes of the tree that a running search must not see happen.
inline constexpr BusyTexts kTreeDeleteGuard{"", "正在查找，不能进行删除操作"};
inline constexpr BusyTexts kTreeRenameGuard{"", "正在查找，不能进行编辑操作"};
inline constexpr BusyTexts kMoveGuard{"", "正在查找，不能移动类别或光盘"};
inline constexpr BusyTexts kSortGuard{"", "正在查找，不能排序"};
inline constexpr BusyTexts kMergeGuard{"", "正在查找，不能合并光盘库"};
inline constexpr BusyTexts kAddDiscFilesGuard{"", "正在查找，不能打开光盘"};

}  // namespace pelko::shell
