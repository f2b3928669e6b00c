#include "ui/app/UiThreadTasks.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <cstdint>
#include <stdexcept>

namespace pelko::ui {

UiThreadTasks::UiThreadTasks(QObject* parent) : QObject(parent) {
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0) throw std::runtime_error("eventfd failed");
    m_notifier = new QSocketNotifier(m_wakeFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UiThreadTasks::RunWaiting);
}

UiThreadTasks::~UiThreadTasks() {
    delete m_notifier;  // before its descriptor goes
    m_notifier = nullptr;
    ::close(m_wakeFd);
}

void UiThreadTasks::Post(std::function<void()> task) {
    {
        const std::lock_guard lock(m_lock);
        m_tasks.push_back(std::move(task));
    }
    const std::uint64_t one = 1;
    // A full counter still leaves the descriptor readable, so a failed write loses no wake-up.
    [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
}

void UiThreadTasks::RunWaiting() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(m_wakeFd, &count, sizeof count);
    std::deque<std::function<void()>> tasks;
    {
        const std::lock_guard lock(m_lock);
        tasks.swap(m_tasks);
    }
    for (std::function<void()>& task : tasks) task();
}

}  // namespace pelko::ui
