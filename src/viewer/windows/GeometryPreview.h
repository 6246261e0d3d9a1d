#pragma once
#include "imaging/ImagingEngine.h"

#include <QImage>
#include <QWidget>

namespace dovi {

// The live preview of the rotate and perspective dialogs: an engine of its
// own fed with a small copy of the viewer's picture, so each preview takes
// milliseconds however large the picture; the viewer's picture changes
// only on Okay.
class GeometryPreview : public QWidget {
public:
    GeometryPreview(QWidget* parent, const QImage& picture);
    ~GeometryPreview() override;

    // A fresh copy of the picture, without any effect.
    imaging::ImagingEngine& fresh();
    imaging::ImagingEngine& engine() { return engine_; }
    // Draws what the engine holds now.
    void refresh() { update(); }

    QSize sizeHint() const override { return kBox; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr QSize kBox{360, 270};
    QImage small_;
    imaging::ImagingEngine engine_;
};

} // namespace dovi
