#include "qt/main_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>

#include "app/dialog_template.h"
#include "app/dialog_units.h"
#include "qt/dialog_font.h"
#include "qt/file_choice_dialogs.h"
#include "qt/qt_text.h"
#include "qt/viewer_window.h"

namespace calveth {
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
    case ControlKind::PushButton:
    case ControlKind::PushCheckBox: {
      auto* button = new QPushButton(caption, &parent);
      button->setAutoDefault(entry.kind == ControlKind::PushButton && entry.defaultFrame);
      button->setCheckable(entry.kind == ControlKind::PushCheckBox);
      button->setFlat(entry.flat);
      // The caption keeps its underlined letter, but the key is the session's to act on
      // (with Alt only): Qt's own shortcut goes.
      button->setShortcut(QKeySequence());
      return button;
    }
    case ControlKind::CheckBox:
      return new QCheckBox(caption, &parent);
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
    case ControlKind::Slider:
      return new QSlider(Qt::Horizontal, &parent);
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

// The keys the session decides about, and the letter of a letter key.
DialogKey dialogKeyOf(const QKeyEvent& event, char& letter) {
  const int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    letter = static_cast<char>('a' + (key - Qt::Key_A));
    return DialogKey::Letter;
  }
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return DialogKey::Enter;
    case Qt::Key_Escape:
      return DialogKey::Escape;
    case Qt::Key_F3:
      return DialogKey::F3;
    case Qt::Key_Left:
      return DialogKey::Left;
    case Qt::Key_Right:
      return DialogKey::Right;
    case Qt::Key_Home:
      return DialogKey::Home;
    default:
      return DialogKey::Other;
  }
}

}  // namespace

MainDialog::MainDialog(MeshStore& store, TonePort& tone)
    : QDialog(nullptr, kDialogFlags), tone_(tone) {
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
  session_ = std::make_unique<DialogSession>(store, static_cast<DialogWidgets&>(*this), text_,
                                             PixelLayout::Argb32);
  session_->start();
  // Key presses go to the focused control first; a filter on the application sees them
  // before any control of the dialog or the viewer does.
  QCoreApplication::instance()->installEventFilter(this);
}

MainDialog::~MainDialog() {
  QCoreApplication::instance()->removeEventFilter(this);
  viewerWindow_.reset();
}

void MainDialog::createControls() {
  const DialogBaseUnits units = baseUnitsOf(font());
  const PixelRect size = toPixels({0, 0, kDialogWidthUnits, kDialogHeightUnits}, units);
  setFixedSize(size.width, size.height);

  for (const ControlTemplate& entry : kDialogTemplate) {
    QWidget* widget = createControl(entry, *this);
    const PixelRect place = toPixels(entry.rect, units);
    widget->setGeometry(place.x, place.y, place.width, place.height);
    if (entry.kind == ControlKind::Picture) {
      widget->resize(widget->sizeHint());  // a picture control takes its picture's size
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
      connect(button, &QAbstractButton::clicked, this, [this, id] { session_->press(id); });
    }
  }

  auto* slider = qobject_cast<QSlider*>(control(ControlId::ViewAngleSlider));
  slider->setRange(kSliderMinimum, kSliderMaximum);
  slider->setValue(kSliderStart);
  connect(slider, &QSlider::valueChanged, this,
          [this](int position) { session_->sliderMoved(position); });

  // The warning mark sits at the right end of the status line, which gives up that room while
  // the mark shows, so the mark never covers the text.
  warningMark_ = new QToolButton(this);
  warningMark_->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
  warningMark_->setAutoRaise(true);
  warningMark_->setFocusPolicy(Qt::NoFocus);
  warningMark_->setAccessibleName(QStringLiteral("Warnings"));
  warningMark_->setVisible(false);
  // A click shows the texts as well as hovering does.
  connect(warningMark_, &QToolButton::clicked, this, [this] {
    QToolTip::showText(warningMark_->mapToGlobal(QPoint(0, warningMark_->height())),
                       warningMark_->toolTip(), warningMark_);
  });
}

void MainDialog::layOutStatusLine() {
  const ControlTemplate* status = nullptr;
  for (const ControlTemplate& entry : kDialogTemplate) {
    if (entry.id == idOf(ControlId::StatusLine)) {
      status = &entry;
    }
  }
  const PixelRect place = toPixels(status->rect, baseUnitsOf(font()));
  const int mark = warningMark_->isVisibleTo(this) ? place.height : 0;
  control(ControlId::StatusLine)->setGeometry(place.x, place.y, place.width - mark, place.height);
  warningMark_->setGeometry(place.x + place.width - mark, place.y, mark, place.height);
}

QWidget* MainDialog::control(ControlId id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second.data();
}

QPoint MainDialog::viewerPlace() const {
  return QPoint(session_->viewerPlace().x, session_->viewerPlace().y);
}

QStringList MainDialog::warnings() const {
  QStringList texts;
  for (const std::string& text : session_->warnings()) {
    texts << qtText(text);
  }
  return texts;
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) {
    return false;
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  const bool inViewer = viewerWindow_ && widget == viewerWindow_.get();
  if (widget == nullptr || (!inViewer && widget != this && !isAncestorOf(widget))) {
    return false;  // the file dialogs and the question box keep their keys
  }
  const auto& key = static_cast<const QKeyEvent&>(*event);
  char letter = 0;
  const DialogKey dialogKey = dialogKeyOf(key, letter);
  const bool alt = key.modifiers().testFlag(Qt::AltModifier);
  return session_->keyDown(dialogKey, inViewer ? KeySource::Viewer : KeySource::Dialog, letter,
                           alt) == KeyAnswer::Taken;
}

void MainDialog::showStatus(std::string_view text) {
  auto* line = qobject_cast<QLineEdit*>(control(ControlId::StatusLine));
  line->setText(qtText(text));
  line->setCursorPosition(0);  // the start of a long text stays in view
}

void MainDialog::showWarnings(const std::vector<std::string>& warnings) {
  warningMark_->setVisible(!warnings.empty());
  warningMark_->setToolTip(this->warnings().join(u'\n'));
  layOutStatusLine();
}

void MainDialog::setEnabled(ControlId id, bool enabled) {
  if (QWidget* widget = control(id)) {
    widget->setEnabled(enabled);
  }
}

void MainDialog::setChecked(ControlId id, bool checked) {
  if (auto* button = qobject_cast<QAbstractButton*>(control(id))) {
    button->setChecked(checked);
  }
}

void MainDialog::showProgress(int low, int high, int position) {
  auto* bar = qobject_cast<QProgressBar*>(control(ControlId::Progress));
  bar->setRange(low, high);
  bar->setValue(position);
}

void MainDialog::repaintNow() { repaint(); }

std::optional<std::string> MainDialog::chooseOpenFile(const FileChoice& choice,
                                                      const std::string& folder) {
  return calveth::chooseOpenFile(*this, choice, qtText(folder));
}

std::optional<std::string> MainDialog::chooseSaveFile(const FileChoice& choice,
                                                      const std::string& folder) {
  return calveth::chooseSaveFile(*this, choice, qtText(folder));
}

bool MainDialog::askYesNo(std::string_view question) { return calveth::askYesNo(*this, question); }

bool MainDialog::showViewer(ViewerPlace place) {
  viewerWindow_ = std::make_unique<ViewerWindow>(QPoint(place.x, place.y), viewerFrame_);
  connect(viewerWindow_.get(), &ViewerWindow::closedByWindowSystem, this, [this] {
    // The window is inside its own close handling, so it goes once that has returned.
    const QPoint place = viewerWindow_->normalOuterTopLeft();
    viewerFrame_ = viewerWindow_->knownFrame();
    viewerWindow_.release()->deleteLater();
    session_->viewerClosed({place.x(), place.y()});
  });
  connect(viewerWindow_.get(), &ViewerWindow::menuRequested, this, [this](QPoint place) {
    QMenu menu(viewerWindow_.get());
    for (const ViewerMenuItem& item : session_->viewerMenu()) {
      QAction* action = menu.addAction(qtText(item.caption));
      action->setEnabled(item.enabled);
      action->setData(static_cast<int>(item.entry));
    }
    if (const QAction* chosen = menu.exec(place)) {
      session_->chooseFromViewerMenu(static_cast<ViewerMenuEntry>(chosen->data().toInt()));
    }
  });
  connect(viewerWindow_.get(), &ViewerWindow::dragged, this,
          [this](int pixels) { session_->viewerDragged(pixels); });
  return true;
}

ViewerPlace MainDialog::hideViewer() {
  const QPoint place = viewerWindow_->normalOuterTopLeft();
  viewerFrame_ = viewerWindow_->knownFrame();
  viewerWindow_->closeByToggle();
  viewerWindow_.reset();
  return {place.x(), place.y()};
}

void MainDialog::showPicture(const ViewerPicture& picture) {
  if (viewerWindow_) {
    viewerWindow_->showPicture(QImage(reinterpret_cast<const uchar*>(picture.pixels), picture.width,
                                      picture.height, picture.width * 4, QImage::Format_RGB32));
  }
}

void MainDialog::setViewerTitle(std::string_view title) {
  if (viewerWindow_) {
    viewerWindow_->setWindowTitle(qtText(title));
  }
}

void MainDialog::playTone(int frequencyHz, int durationMs) { tone_.sound(frequencyHz, durationMs); }

// Asked for from within a click or a key: the dialog ends once that has been handled.
void MainDialog::endProgram() {
  if (!closePending_) {
    closePending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { accept(); }, Qt::QueuedConnection);
  }
}

// The viewer goes with the dialog, however the dialog ends (the close box too).
void MainDialog::done(int result) {
  if (session_->viewerOpen()) {
    session_->press(ControlId::Viewer);
  }
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
