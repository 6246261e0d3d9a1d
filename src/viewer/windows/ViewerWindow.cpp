#include "viewer/windows/ViewerWindow.h"

#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "app/windows/DialogUi.h"
#include "viewer/TrialSession.h"
#include "viewer/windows/AdjustDialog.h"
#include "viewer/windows/ButtonizeDialog.h"
#include "viewer/windows/ImageView.h"
#include "viewer/windows/PerspectiveDialog.h"
#include "viewer/windows/ResampleDialog.h"
#include "viewer/windows/RotateDialog.h"
#include "viewer/windows/SaveAsDialogChooser.h"
#include "viewer/windows/ToneDialog.h"

#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenuBar>
#include <QToolBar>

namespace dovi {

using viewer::AdjustMode;

ViewerWindow::ViewerWindow(Workspace& ws, StatusSurface* status, QWidget* parent, Ui* ui,
                           std::unique_ptr<viewer::SaveAsChooser> chooser)
    : QMainWindow(parent, Qt::Window), ws_(ws),
      ownUi_(ui ? nullptr : std::make_unique<DialogUi>(this, status)), ui_(ui ? *ui : *ownUi_),
      chooser_(chooser ? std::move(chooser) : std::make_unique<SaveAsDialogChooser>(this)),
      document_(ws, ui_) {
    setObjectName(QStringLiteral("frmViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    view_ = new ImageView(this);
    view_->setSelection(&selection_);
    setCentralWidget(view_);
    buildMenus();
    buildToolbar();

    connect(view_, &ImageView::leftPressed, this, [this](QPointF p) {
        selection_.setViewExtent(view_->viewExtent());
        selection_.press(p);
        view_->viewport()->update();
    });
    connect(view_, &ImageView::moved, this, [this](QPointF p) {
        if (!selection_.dragging())
            return;
        selection_.move(p);
        setWindowTitle(selection_.dragCaption(document_.caption()));
        view_->viewport()->update();
    });
    connect(view_, &ImageView::released, this, [this](QPointF p) {
        selection_.setViewExtent(view_->viewExtent());
        selection_.release(p);
        if (!selection_.hasArea())
            killSelection();
        view_->viewport()->update();
    });
    connect(view_, &ImageView::otherPressed, this, &QWidget::close);

    // The selection a stray click made while the window opened goes.
    startTimer_.setSingleShot(true);
    startTimer_.setInterval(500);
    connect(&startTimer_, &QTimer::timeout, this, &ViewerWindow::killSelection);
}

ViewerWindow::~ViewerWindow() = default;

bool ViewerWindow::open(const QString& path) {
    if (!document_.open(path))
        return false;
    selection_.kill();
    setBackground(false);
    showPicture();
    startTimer_.start();
    return true;
}

QAction* ViewerWindow::addCommand(QMenu* menu, const QString& caption, std::function<void()> run,
                                  const QKeySequence& keys) {
    QAction* action = menu->addAction(caption);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    actions_.insert(caption, action);
    return action;
}

void ViewerWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    addCommand(
        file, QStringLiteral("&Save"),
        [this] {
            document_.save();
            refreshCaption();
        },
        QKeySequence::Save);
    addCommand(
        file, QStringLiteral("Save &As"),
        [this] {
            document_.saveAs(*chooser_);
            refreshCaption();
        },
        QKeySequence::SaveAs);
    addCommand(
        file, QStringLiteral("&Close"), [this] { close(); }, QKeySequence::Close);
    file->addSeparator();
    addCommand(file, QStringLiteral("Crop-Save-Close"), [this] { cropSaveClose(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    addCommand(edit, QStringLiteral("Crop"), [this] { crop(); });
    QAction* white =
        addCommand(edit, QStringLiteral("Set White Background"), [this] { setBackground(true); });
    QAction* black =
        addCommand(edit, QStringLiteral("Set Black Background"), [this] { setBackground(false); });
    auto* grounds = new QActionGroup(this);
    for (QAction* a : {white, black}) {
        a->setCheckable(true);
        grounds->addAction(a);
    }
    black->setChecked(true);
    edit->addSeparator();
    addCommand(
        edit, QStringLiteral("Undo"), [this] { undo(); }, QKeySequence::Undo);
    edit->addSeparator();
    addCommand(
        edit, QStringLiteral("Copy to Clipboard"), [this] { copyToClipboard(); },
        QKeySequence::Copy);

    QMenu* functions = menuBar()->addMenu(QStringLiteral("&Functions"));
    auto filter = [this](const QString& caption) {
        return [this, caption] {
            if (const viewer::ViewerFilter* f = viewer::findViewerFilter(caption)) {
                document_.applyFilter(*f);
                showPicture();
            }
        };
    };
    auto adjust = [this](AdjustMode mode) { return [this, mode] { openAdjust(int(mode)); }; };
    addCommand(functions, QStringLiteral("Adjust HSL"), [this] { openTone(true); });
    addCommand(functions, QStringLiteral("Adjust RGB"), [this] { openTone(false); });
    addCommand(functions, QStringLiteral("Auto Contrast"), filter(QStringLiteral("Auto Contrast")));
    addCommand(functions, QStringLiteral("Blend"), adjust(AdjustMode::Blend));
    addCommand(functions, QStringLiteral("Brightness"), adjust(AdjustMode::Bright));
    addCommand(functions, QStringLiteral("Buttonize"), [this] { openButtonize(); });
    addCommand(functions, QStringLiteral("Contrast"), adjust(AdjustMode::Cont));
    for (const char* name : {"Dilate", "Emboss", "Flip", "Median", "Mirror"})
        addCommand(functions, QLatin1String(name), filter(QLatin1String(name)));
    QMenu* parabolic = functions->addMenu(QStringLiteral("Parabolic Effect"));
    addCommand(parabolic, QStringLiteral("Concave"), filter(QStringLiteral("Concave")));
    addCommand(parabolic, QStringLiteral("Convex"), filter(QStringLiteral("Convex")));
    addCommand(functions, QStringLiteral("Negative"), filter(QStringLiteral("Negative")));
    addCommand(functions, QStringLiteral("Perspective"), [this] { openPerspective(); });
    addCommand(functions, QStringLiteral("Resample"), [this] { openResample(); });
    addCommand(functions, QStringLiteral("Rotate"), [this] { openRotate(); });
    addCommand(functions, QStringLiteral("Sharpen"), adjust(AdjustMode::Sharp));
    addCommand(functions, QStringLiteral("Soften"), adjust(AdjustMode::Soft));
}

void ViewerWindow::buildToolbar() {
    QToolBar* bar = addToolBar(QStringLiteral("tool"));
    bar->setObjectName(QStringLiteral("tool"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const struct {
        const char* key;
        const char* tooltip;
        const char* text;
        const char* icon;
        const char* command;
    } buttons[] = {
        {"save", "Save Image", "Save", "document-save", "&Save"},
        {"close", "Close Image", "Close", "window-close", "&Close"},
        {"copy", "Copy Image to Clipboard", "Copy", "edit-copy", "Copy to Clipboard"},
        {"undo", "Undo Last Action", "Undo", "edit-undo", "Undo"},
        {"brightness", "Brightness", "Brightness", "display-brightness", "Brightness"},
        {"contrast", "Contrast", "Contrast", "color-management", "Contrast"},
        {"resample", "Resample", "Resample", "zoom-fit-best", "Resample"},
        {"buttonise", "Buttonise", "Buttonise", "insert-object", "Buttonize"},
    };
    for (const auto& b : buttons) {
        QAction* menuItem = actions_.value(QLatin1String(b.command));
        QAction* button =
            bar->addAction(QIcon::fromTheme(QLatin1String(b.icon)), QLatin1String(b.text));
        button->setObjectName(QLatin1String(b.key));
        button->setToolTip(QLatin1String(b.tooltip));
        connect(button, &QAction::triggered, menuItem, &QAction::trigger);
        actions_.insert(QLatin1String(b.key), button);
    }
}

void ViewerWindow::showPicture() {
    view_->setPicture(document_.engine().pixels());
    refreshCaption();
}

void ViewerWindow::refreshCaption() {
    setWindowTitle(document_.caption());
}

void ViewerWindow::killSelection() {
    selection_.kill();
    view_->viewport()->update();
    refreshCaption();
}

void ViewerWindow::crop() {
    document_.crop(selection_.start(), selection_.end(), view_->scroll());
    showPicture();
    killSelection();
}

void ViewerWindow::cropSaveClose() {
    const viewer::CloseAnswer answer =
        document_.cropSaveClose(selection_.start(), selection_.end(), view_->scroll());
    killSelection();
    showPicture();
    if (answer == viewer::CloseAnswer::Close) {
        close();
    }
}

void ViewerWindow::undo() {
    document_.undo();
    showPicture();
}

void ViewerWindow::copyToClipboard() {
    setStatus(ui_, true);
    QGuiApplication::clipboard()->setImage(document_.engine().pixels());
    setStatus(ui_, false);
}

void ViewerWindow::setBackground(bool white) {
    view_->setBackColour(white ? Qt::white : Qt::black);
    actions_.value(QStringLiteral("Set White Background"))->setChecked(white);
    actions_.value(QStringLiteral("Set Black Background"))->setChecked(!white);
}

void ViewerWindow::runDialog(QDialog& dialog) {
    dialog.exec();
    // Back in the viewer: it shows and measures the picture afresh.
    showPicture();
}

void ViewerWindow::openAdjust(int mode) {
    AdjustDialog dialog(this, document_, ui_, AdjustMode(mode),
                        [this] { view_->setPicture(document_.engine().pixels()); });
    runDialog(dialog);
}

void ViewerWindow::openTone(bool hsl) {
    ToneDialog dialog(this, document_, ui_, hsl ? ToneDialog::Kind::Hsl : ToneDialog::Kind::Rgb,
                      [this] { view_->setPicture(document_.engine().pixels()); });
    runDialog(dialog);
}

void ViewerWindow::openButtonize() {
    ButtonizeDialog dialog(this, &document_, ui_,
                           [this] { view_->setPicture(document_.engine().pixels()); });
    runDialog(dialog);
}

void ViewerWindow::openResample() {
    ResampleDialog dialog(this, document_, ui_);
    runDialog(dialog);
}

void ViewerWindow::openRotate() {
    RotateDialog dialog(this, document_, ui_);
    runDialog(dialog);
}

void ViewerWindow::openPerspective() {
    PerspectiveDialog dialog(this, document_, ui_);
    runDialog(dialog);
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        return;
    }
    if (document_.closeFile() == viewer::CloseAnswer::Stay) {
        event->ignore();
        refreshCaption();
        return;
    }
    event->accept();
    finished_ = true;
    hide();
    if (afterClose_)
        afterClose_();
    document_.windowClosed();
}

void ViewerWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        refreshCaption();
        view_->fit();
    }
}

} // namespace dovi
