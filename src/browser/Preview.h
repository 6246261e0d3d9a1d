#pragma once
#include "app/CommandGate.h"
#include "browser/PreviewFacts.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <memory>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::browser {

inline const QString kReadingCaption = QStringLiteral("Reading Selected File");

// The preview beside the file list and its five information lines. A file is
// read and measured on a worker thread, so a large photo never stops the
// window; only the newest request is ever shown, and the busy state lasts
// from the request until its answer (or until something newer replaces it).
// Anyone may reset the preview to the logo through resetPreview.
class Preview : public QObject {
    Q_OBJECT
public:
    Preview(Workspace& ws, Ui& ui, std::shared_ptr<ImageMeasurer> measurer,
            QObject* parent = nullptr);
    ~Preview() override;

    // The area the picture is fitted into, in device pixels.
    void setPictureBox(const QSize& box) { box_ = box; }

    // Previews the file list's current entry: skips it when the preview is
    // switched off, the file has gone (the list is read again) or it is over
    // the preview size limit; otherwise starts reading it.
    void showSelectedFile();

    // true: the labels show these facts and the preview is valid. false: the
    // labels empty, the logo, and the preview not valid.
    void showImageInfo(bool valid, const ImageFacts& facts = {});

    const PreviewLabels& labels() const { return labels_; }
    // The scaled picture shown; null while the logo is shown.
    const QImage& picture() const { return picture_; }
    // The file whose facts are shown; empty with the logo.
    const QString& fileName() const { return fileName_; }
    bool isReading() const { return reading_; }

signals:
    void changed();
    // The newest reading has been answered and shown.
    void readingFinished();

private:
    void onMeasured(quint64 request, const QString& path, const ImageFacts& facts);
    void onReset();
    void settle();

    Workspace& ws_;
    Ui& ui_;
    std::shared_ptr<ImageMeasurer> measurer_;
    QSize box_{256, 256};
    PreviewLabels labels_;
    QImage picture_;
    QString fileName_;
    bool reading_ = false;
    CommandGate::Claim claim_ = 0;
    std::atomic<quint64> latest_{0};
    // Last, so it is destroyed first: its destructor waits for running readers.
    QThreadPool pool_;
};

} // namespace dovi::browser
