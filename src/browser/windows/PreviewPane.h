#pragma once
#include <QImage>
#include <QWidget>

namespace dovi {

// The square beside the file list: the previewed picture, or the logo when
// nothing single is previewed. Pictures are drawn centred, never enlarged.
class PreviewPane : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPane(QWidget* parent = nullptr);

    void setLogo(const QImage& logo);
    // A null picture shows the logo.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    bool showsLogo() const { return picture_.isNull(); }

    // The drawing area in device pixels: what a picture is fitted into.
    QSize pictureBox() const;

    QSize sizeHint() const override { return {240, 240}; }

signals:
    void pictureBoxChanged(const QSize& box);
    // The left button went down on the preview ("Click to View").
    void leftClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage logo_;
    QImage picture_;
};

} // namespace dovi
