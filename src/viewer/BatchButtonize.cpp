#include "viewer/BatchButtonize.h"

#include "app/FolderState.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "imaging/Codecs.h"
#include "imaging/ImagingEngine.h"
#include "platform/AtomicWrite.h"
#include "platform/FileStamp.h"
#include "platform/SameFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <QThreadPool>
#include <deque>
#include <future>
#include <memory>

namespace dovi::viewer {

namespace {

struct Prepared {
    enum class Kind { Skip, Unsupported, Failed, Ready } kind = Kind::Failed;
    platform::FileStamp stamp; // the source as it was read
    QByteArray bytes;          // the file to write
    QString reason;
};

// Reads, buttonizes and encodes one file; touches nothing on disk.
Prepared prepare(const QString& path, const ButtonizeSettings& s,
                 const imaging::EncodeOptions& encoding) {
    Prepared out;
    out.stamp = platform::stampOf(path);
    if (!QFileInfo(path).isFile()) {
        out.kind = QFileInfo::exists(path) ? Prepared::Kind::Unsupported : Prepared::Kind::Failed;
        return out;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.reason = file.errorString();
        return out;
    }
    const QByteArray data = file.readAll();
    file.close();
    // What was read must be what the stamp describes.
    if (platform::stampOf(path) != out.stamp) {
        out.reason = QStringLiteral("the file changed while it was read");
        return out;
    }
    const imaging::Bytes bytes(reinterpret_cast<const std::uint8_t*>(data.constData()),
                               std::size_t(data.size()));
    if (imaging::sniffFormat(bytes) == imaging::None) {
        out.kind = Prepared::Kind::Unsupported;
        return out;
    }
    imaging::DecodeResult decoded = imaging::decodeBytes(bytes);
    if (!decoded.ok() || decoded.partial) {
        out.reason = decoded.partial ? QStringLiteral("the picture is damaged") : decoded.error;
        return out;
    }
    const imaging::FormatCode format = decoded.image.format;
    imaging::ImagingEngine engine;
    engine.setImage(std::move(decoded.image), path);
    if (!engine.buttonize(s.style, s.width, s.intensity) ||
        !imaging::encodeImage(engine.image(), format, encoding, out.bytes, &out.reason))
        return out;
    out.kind = Prepared::Kind::Ready;
    return out;
}

} // namespace

ButtonizeSummary buttonizeFiles(Workspace& ws, Ui& ui, const QStringList& targets,
                                const ButtonizeSettings& settings, int jobs) {
    ButtonizeSummary summary;
    const int count = static_cast<int>(targets.size());
    if (ws.settings.confirmActions == 1) {
        summary.asked = true;
        ws.lastAnswer = ui.messageBox(QStringLiteral("Batch Process ") + QString::number(count) +
                                          QStringLiteral(" files"),
                                      QStringLiteral("Apply Buttonize to the selected file(s) ?"),
                                      MessageButtons::YesNo, MessageIcon::Question);
        if (ws.lastAnswer != Answer::Yes) {
            summary.declined = true;
            return summary;
        }
    }
    setStatus(ui, true);
    ui.setProgressRange(0, count);

    // A file listed twice is buttonized once: the run never rewrites its own output.
    std::vector<bool> repeated(count, false);
    QSet<QString> seen;
    for (int i = 0; i < count; ++i) {
        const QString key = platform::pathIdentity(targets[i]);
        repeated[i] = seen.contains(key);
        seen.insert(key);
    }

    const imaging::EncodeOptions encoding{ws.settings.jpegLuminance, ws.settings.jpegChrominance};
    if (jobs <= 0)
        jobs = std::max(1, QThread::idealThreadCount());
    QThreadPool pool;
    pool.setMaxThreadCount(jobs);
    std::deque<std::future<Prepared>> ahead;
    int next = 0;
    auto startMore = [&] {
        // Each file in flight holds a few copies of its picture: as many as
        // there are threads, plus the one waiting to be written.
        while (next < count && int(ahead.size()) < jobs + 1) {
            auto promise = std::make_shared<std::promise<Prepared>>();
            ahead.push_back(promise->get_future());
            const QString path = targets[next];
            if (repeated[next])
                promise->set_value(Prepared{Prepared::Kind::Skip, {}, {}, {}});
            else
                pool.start([promise, path, settings, encoding] {
                    promise->set_value(prepare(path, settings, encoding));
                });
            ++next;
        }
    };

    QStringList failures;
    for (int i = 0; i < count; ++i) {
        startMore();
        Prepared prepared = ahead.front().get();
        ahead.pop_front();
        const QString& path = targets[i];
        // Prepared ahead of its turn: a file changed since is done again.
        if (prepared.kind == Prepared::Kind::Ready && platform::stampOf(path) != prepared.stamp)
            prepared = prepare(path, settings, encoding);
        switch (prepared.kind) {
        case Prepared::Kind::Skip:
            break;
        case Prepared::Kind::Unsupported:
            ++summary.unsupported;
            break;
        case Prepared::Kind::Failed:
            ++summary.failed;
            failures << path;
            break;
        case Prepared::Kind::Ready: {
            // A read-only file is rewritten writable, as clearing its
            // attributes first would leave it, but only once the new one is safe.
            platform::AtomicWriteOptions options;
            options.addedModeBits = 0200;
            options.beforeReplace = [&] {
                return platform::stampOf(path) == prepared.stamp
                           ? platform::FileResult::done()
                           : platform::FileResult::failed(
                                 QStringLiteral("the file was replaced meanwhile"));
            };
            if (platform::writeFileAtomically(path, prepared.bytes, options).ok) {
                ++summary.buttonized;
            } else {
                ++summary.failed;
                failures << path;
            }
            break;
        }
        }
        ui.setProgressValue(i + 1);
    }
    pool.waitForDone();

    rereadAndRefreshSelection(ws);
    resetPreview(ws);
    setStatus(ui, false);
    if (!failures.isEmpty()) {
        constexpr int kNamesShown = 10;
        QStringList lines;
        lines << (failures.size() == 1
                      ? QStringLiteral("1 file could not be buttonized and was left as it was:")
                      : QString::number(failures.size()) +
                            QStringLiteral(" files could not be buttonized and were left as "
                                           "they were:"));
        lines << failures.mid(0, kNamesShown);
        if (failures.size() > kNamesShown)
            lines << QStringLiteral("...");
        ui.messageBox(QStringLiteral("Errors"), lines.join(QLatin1Char('\n')), MessageButtons::Ok,
                      MessageIcon::Information);
    }
    return summary;
}

} // namespace dovi::viewer
