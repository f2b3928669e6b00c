#pragma once
// Pictures of the large-icon list (covers, thumbnails, default pictures), decoded off the UI
// thread and kept fitted to the icon box.
//
// Request() never decodes: it gives the cached pixmap, or a null pixmap after queueing the
// file on the cache's own worker threads. The worker reads only as much of the file as the box
// needs (QImageReader's scaled reading); the UI thread turns the result into a pixmap and
// announces it with PictureReady. Cached pixmaps are bounded by their bytes, least recently
// used first out. A file that could not be read is remembered and not tried again until it
// changes (its time or size), so a broken picture costs one decode, not one per paint; a file
// replaced under the same name (a new cover, a re-scan) is read again for the same reason.
//
// UI thread only, except the decoder, which runs on the workers and touches nothing shared. Jobs
// and results cross between the threads only through the cache's own mutex: while decodes are
// under way a short timer on the UI thread collects the results, so no object made on a worker
// is ever handed to the UI thread's event queue.

#include <QHash>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QTimer>

#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

namespace pelko::ui {

class PictureCache : public QObject {
    Q_OBJECT
public:
    // Reads a picture file fitted into a box; a null image when the file cannot be read.
    // Called on worker threads.
    using Decoder = std::function<QImage(const QString& path, QSize box)>;

    static constexpr qint64 kDefaultMaxBytes = 64LL * 1024 * 1024;

    explicit PictureCache(QObject* parent = nullptr, qint64 maxBytes = kDefaultMaxBytes,
                          Decoder decoder = DecodeFitted);
    // Waits for the decodes under way; their results are dropped.
    ~PictureCache() override;

    // The picture of `path` fitted into `box` (keeping its aspect), or a null pixmap while it
    // loads or when it cannot be read. A different box than before empties the cache first.
    QPixmap Request(const QString& path, QSize box);
    // True when the file, as it is now, could not be read.
    bool Failed(const QString& path) const;
    // Drops every picture, every remembered failure and the results still to come.
    void Clear();

    qint64 CachedBytes() const { return m_bytes; }

    // The default decoder: the format is taken from the content, so a cover saved with the
    // wrong extension still shows. The picture is scaled to fit the box, up or down.
    static QImage DecodeFitted(const QString& path, QSize box);

signals:
    // A picture has been read and the next Request for it gives it.
    void PictureReady(const QString& path);
    // A file could not be read; it is not tried again until it changes.
    void PictureFailed(const QString& path);

private:
    // What identifies one version of a file: a replaced file is a new picture.
    struct Stamp {
        qint64 modifiedMs = -1;
        qint64 size = -1;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        QString path;
        Stamp stamp;
        QPixmap pixmap;
        qint64 bytes = 0;
    };

    struct Job {
        quint64 generation = 0;
        QString path;
        Stamp stamp;
        QSize box;
    };
    struct Result {
        quint64 generation = 0;
        QString path;
        Stamp stamp;
        QImage image;
    };

    static Stamp StampOf(const QString& path);
    void Load(const QString& path, Stamp stamp);
    void DecodeJobs();       // a worker thread's loop
    void DeliverResults();   // UI thread
    void Finished(quint64 generation, const QString& path, Stamp stamp, const QImage& image);
    void Insert(const QString& path, Stamp stamp, QPixmap pixmap);
    void Drop(const QString& path);

    const qint64 m_maxBytes;
    const Decoder m_decoder;
    QSize m_box;
    quint64 m_generation = 0;    // results of an older generation are dropped
    std::list<Entry> m_entries;  // most recently used first
    QHash<QString, std::list<Entry>::iterator> m_index;
    qint64 m_bytes = 0;
    QHash<QString, Stamp> m_pending;
    QHash<QString, Stamp> m_failed;

    std::mutex m_queueMutex;
    std::condition_variable m_queueWake;
    std::vector<Job> m_jobs;  // the last one is decoded first: the rows painted last are on screen
    std::vector<Result> m_results;
    bool m_stopping = false;
    QTimer m_collect;  // runs while decodes are under way
    std::vector<std::thread> m_workers;
};

}  // namespace pelko::ui
