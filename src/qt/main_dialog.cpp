#include "qt/main_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <algorithm>

#include "app/dialog_template.h"
#include "qt/dialog_font.h"
#include "qt/keyboard_filter.h"
#include "qt/qt_text.h"
#include "qt/viewer_window.h"
#include "viewer/view_angle.h"

namespace calveth {

// The commands' viewer: the wire-frame viewer, whose new picture the open window then shows.
class MainDialog::ShowingViewer final : public ViewerPort {
 public:
  explicit ShowingViewer(MainDialog& dialog) : dialog_(dialog) {}
  void refresh(const ViewerInput& input) override {
    dialog_.wireViewer_.refresh(input);
    if (dialog_.viewerWindow_) {
      dialog_.viewerWindow_->pictureChanged();
    }
  }

 private:
  MainDialog& dialog_;
};

namespace {

constexpr auto kBanner = ":/calveth/banner.png";
constexpr auto kIconSmall = ":/calveth/icon-16.png";
constexpr auto kIconLarge = ":/calveth/icon-32.png";

// The dialog has a title bar with a close box and a system menu, and keeps its size.
constexpr Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

QWidget* createControl(const ControlTemplate& entry, QWidget& parent) {
  const QString caption = qtText(entry.caption);
  switch (entry.kind) {
    case ControlKind::PushButton: {
      auto* button = new QPushButton(caption, &parent);
      button->setAutoDefault(entry.defaultFrame);
      return button;
    }
    case ControlKind::CheckBox:
      return new QCheckBox(caption, &parent);
    case ControlKind::PushCheckBox: {
      auto* button = new QPushButton(caption, &parent);
      button->setCheckable(true);
      button->setAutoDefault(false);
      button->setFlat(entry.flat);
      return button;
    }
    case ControlKind::StatusEdit: {
      auto* line = new QLineEdit(&parent);
      line->setReadOnly(true);
      return line;
    }
    case ControlKind::GroupBox: {
      auto* box = new QGroupBox(caption, &parent);
      box->setAlignment(Qt::AlignHCenter);
      return box;
    }
    case ControlKind::Slider: {
      auto* slider = new QSlider(Qt::Horizontal, &parent);
      slider->setTickPosition(QSlider::NoTicks);
      return slider;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(&parent);
      bar->setTextVisible(false);
      bar->setRange(0, 100);
      bar->setValue(0);
      return bar;
    }
    case ControlKind::Picture: {
      auto* picture = new QLabel(&parent);
      picture->setPixmap(QPixmap(QString::fromLatin1(kBanner)));
      return picture;
    }
  }
  return nullptr;
}

}  // namespace

MainDialog::MainDialog(MeshStore& store, TonePort& tone)
    : QDialog(nullptr, kDialogFlags),
      store_(store),
      wireViewer_(store),
      showingViewer_(std::make_unique<ShowingViewer>(*this)) {
  setWindowTitle(qtText(kDialogCaption));
  QIcon icon;
  icon.addFile(QString::fromLatin1(kIconSmall));
  icon.addFile(QString::fromLatin1(kIconLarge));
  setWindowIcon(icon);
  setFont(dialogFont());
  // Modal to no window: the dialog runs its own loop, and the viewer beside it can still be
  // moved while it does.
  setWindowModality(Qt::WindowModal);

  createControls();
  host_ = std::make_unique<DialogHost>(
      *this, controls_, [this](const QStringList& warnings) { showWarnings(warnings); });
  auto* status = qobject_cast<QLineEdit*>(control(ControlId::StatusLine));
  warningMark_ = status->addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                                   QLineEdit::TrailingPosition);
  warningMark_->setVisible(false);
  router_ = std::make_unique<CommandRouter>(store_, *host_, *showingViewer_);
  router_->start();
  new KeyboardFilter(*this, tone);
}

MainDialog::~MainDialog() { closeViewer(); }

void MainDialog::createControls() {
  const DialogBaseUnits units = baseUnitsOf(font());
  const PixelRect size = toPixels({0, 0, kDialogWidthUnits, kDialogHeightUnits}, units);
  setFixedSize(size.width, size.height);

  for (const ControlTemplate& entry : kDialogTemplate) {
    QWidget* widget = createControl(entry, *this);
    const PixelRect place = toPixels(entry.rect, units);
    widget->setGeometry(place.x, place.y, place.width, place.height);
    if (entry.kind == ControlKind::Picture) {
      // A picture control takes the size of its picture.
      widget->resize(widget->sizeHint());
    }
    if (entry.kind == ControlKind::GroupBox) {
      widget->lower();  // the frame lies behind the buttons it encloses
    }
    if (!entry.tabStop) {
      widget->setFocusPolicy(Qt::NoFocus);
    }
    widget->setEnabled(entry.enabled);
    widget->setVisible(entry.visible);
    if (entry.id == 0) {
      continue;
    }
    const auto id = static_cast<ControlId>(entry.id);
    controls_[id] = widget;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      connect(button, &QAbstractButton::clicked, this, [this, id] { press(id); });
    }
  }

  auto* slider = qobject_cast<QSlider*>(control(ControlId::ViewAngleSlider));
  slider->setRange(kSliderMinimum, kSliderMaximum);
  slider->setValue(kSliderStart);
  connect(slider, &QSlider::valueChanged, this,
          [this](int position) { UpdateViewAngle(store_, position); });
}

QWidget* MainDialog::control(ControlId id) const { return controlOf(controls_, id); }

void MainDialog::press(ControlId id) {
  switch (id) {
    case ControlId::Exit:
      accept();
      return;
    case ControlId::Viewer:
      toggleViewer();
      return;
    default:
      host_->beginCommand();
      router_->press(id);
      host_->endCommand();
  }
}

// Beside the status text, not in it: the status line keeps the command's own result, and no
// box interrupts the work. The viewer's title tells them too, as the viewer shows the result.
void MainDialog::showWarnings(const QStringList& warnings) {
  warnings_ = warnings;
  warningMark_->setVisible(!warnings.isEmpty());
  warningMark_->setToolTip(warnings.join(u'\n'));
  if (viewerWindow_) {
    viewerWindow_->showWarnings(warnings_);
  }
}

void MainDialog::toggleViewer() {
  if (viewerWindow_) {
    viewerPlace_ = viewerWindow_->normalOuterTopLeft();
    viewerFrame_ = viewerWindow_->knownFrame();
    closeViewer();
    return;
  }
  viewerWindow_ = std::make_unique<ViewerWindow>(wireViewer_, viewerPlace_, viewerFrame_);
  viewerWindow_->showWarnings(warnings_);
  connect(viewerWindow_.get(), &ViewerWindow::closedByWindowSystem, this, [this] {
    // Closed by another route than "&G": remembered and shown released as if by "&G", so the
    // button and the window stay in step. The window is inside its own close handling, so it
    // goes once that has returned.
    viewerPlace_ = viewerWindow_->normalOuterTopLeft();
    viewerFrame_ = viewerWindow_->knownFrame();
    viewerWindow_->leaveViewer();
    viewerWindow_.release()->deleteLater();
    if (auto* button = qobject_cast<QAbstractButton*>(control(ControlId::Viewer))) {
      button->setChecked(false);
    }
  });
}

void MainDialog::closeViewer() {
  if (viewerWindow_) {
    viewerWindow_->closeByToggle();
    viewerWindow_.reset();
  }
}

// The viewer goes with the dialog, however the dialog ends.
void MainDialog::done(int result) {
  closeViewer();
  QDialog::done(result);
}

void MainDialog::showEvent(QShowEvent* event) {
  if (!placed_) {
    // Centred on the mouse pointer, kept on the pointer's screen.
    placed_ = true;
    const QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(pointer);
    if (screen == nullptr) {
      screen = QGuiApplication::primaryScreen();
    }
    QRect place(QPoint(0, 0), frameGeometry().size());
    place.moveCenter(pointer);
    if (screen != nullptr) {
      const QRect room = screen->availableGeometry();
      place.moveLeft(std::max(room.left(), std::min(place.left(), room.right() - place.width())));
      place.moveTop(std::max(room.top(), std::min(place.top(), room.bottom() - place.height())));
    }
    move(place.topLeft());
  }
  QDialog::showEvent(event);
}

}  // namespace calveth
