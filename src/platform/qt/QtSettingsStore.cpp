#include "platform/qt/QtSettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include "text/Codec.h"

namespace pelko::platform {

namespace {

QString KeyOf(std::string_view key) {
    return QStringLiteral("settings/") + QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

// The text of a value as the INI file holds it. An unquoted value with commas is parsed by
// QSettings as a list (each item trimmed); it is joined back with commas.
QString TextOf(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

}  // namespace

// The path is built here rather than left to QSettings' user scope, which names an INI file
// "Pelko.ini"; the user's file is "Tinkmoss/Pelko.conf" in the configuration folder.
QtSettingsStore::QtSettingsStore()
    : m_settings(std::make_unique<QSettings>(
          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
              QStringLiteral("/Tinkmoss/Pelko.conf"),
          QSettings::IniFormat)) {}

QtSettingsStore::QtSettingsStore(const std::filesystem::path& iniFile)
    : m_settings(std::make_unique<QSettings>(QFile::decodeName(QByteArray::fromStdString(iniFile.native())),
                                             QSettings::IniFormat)) {}

QtSettingsStore::~QtSettingsStore() = default;

std::filesystem::path QtSettingsStore::FilePath() const {
    return QFile::encodeName(m_settings->fileName()).toStdString();
}

int QtSettingsStore::ReadInt(std::string_view key, int defaultValue) const {
    const QVariant value = m_settings->value(KeyOf(key));
    if (!value.isValid()) return defaultValue;
    bool ok = false;
    const int number = TextOf(value).trimmed().toInt(&ok, 10);
    return ok ? number : defaultValue;
}

std::string QtSettingsStore::ReadString(std::string_view key, std::string_view defaultValue) const {
    const QVariant value = m_settings->value(KeyOf(key));
    if (!value.isValid()) return std::string(defaultValue);
    return text::FromUtf8(TextOf(value).toStdString());
}

void QtSettingsStore::WriteInt(std::string_view key, int value) { Write(KeyOf(key), QString::number(value)); }

void QtSettingsStore::WriteString(std::string_view key, std::string_view value) {
    Write(KeyOf(key), QString::fromStdString(text::ToUtf8(value)));
}

void QtSettingsStore::Write(const QString& key, const QString& text) {
    // A value the file already holds is not written again: every write rewrites and flushes the
    // whole file, and a search or a start would otherwise do that once per unchanged key.
    const QVariant stored = m_settings->value(key);
    if (stored.isValid() && TextOf(stored) == text) return;
    m_settings->setValue(key, text);
    Flush();
}

void QtSettingsStore::Flush() {
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError || m_failureReported || !m_failureReport) return;
    m_failureReported = true;
    m_failureReport(text::LocalWith("设置无法写入文件 %s，本次更改的设置在程序关闭后将会丢失",
                                    text::FromUtf8(FilePath().native())));
}

}  // namespace pelko::platform
