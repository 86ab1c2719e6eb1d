#include "app/command_router.h"

#include "morph/delta_ops.h"
#include "morph/mirror_swap.h"
#include "morph/open_mt.h"
#include "morph/reset_melt.h"
#include "morph/save_mt.h"
#include "viewer/reflected_base.h"

namespace calveth {

// Passes every call on to the front end's host and keeps the states it shows.
class CommandRouter::StateHost final : public Host {
 public:
  explicit StateHost(Host& shown) : shown_(shown) {}

  bool enabled(ControlId control) const {
    const auto found = enabled_.find(control);
    return found != enabled_.end() && found->second;
  }
  bool checked(ControlId control) const {
    const auto found = checked_.find(control);
    return found != checked_.end() && found->second;
  }

  void setStatusText(std::string_view text) override { shown_.setStatusText(text); }
  void setEnabled(ControlId control, bool enabled) override {
    enabled_[control] = enabled;
    shown_.setEnabled(control, enabled);
  }
  void setChecked(ControlId control, bool checked) override {
    checked_[control] = checked;
    shown_.setChecked(control, checked);
  }
  void setProgressRange(int low, int high) override { shown_.setProgressRange(low, high); }
  void setProgressPosition(int position) override { shown_.setProgressPosition(position); }
  void repaintNow() override { shown_.repaintNow(); }
  std::optional<std::string> chooseOpenFile(const FileChoice& choice) override {
    return shown_.chooseOpenFile(choice);
  }
  std::optional<std::string> chooseSaveFile(const FileChoice& choice) override {
    return shown_.chooseSaveFile(choice);
  }
  bool askYesNo(std::string_view question) override { return shown_.askYesNo(question); }
  void warn(std::string_view text) override { shown_.warn(text); }

 private:
  Host& shown_;
  std::map<ControlId, bool> enabled_;
  std::map<ControlId, bool> checked_;
};

CommandRouter::CommandRouter(MeshStore& store, Host& host, ViewerPort& viewer,
                             FileWriteLayer& files)
    : store_(store),
      viewer_(viewer),
      files_(files),
      host_(std::make_unique<StateHost>(host)),
      scratch_(std::make_unique<BaseScratch>()) {}

CommandRouter::~CommandRouter() = default;

void CommandRouter::start() {
  for (ControlId control :
       {ControlId::OpenBase, ControlId::OpenMt, ControlId::Exit, ControlId::Viewer}) {
    host_->setEnabled(control, true);
  }
  withdrawGenerating(*host_);
  host_->setEnabled(ControlId::VertexOnly, false);
  host_->setEnabled(ControlId::ReflectedBase, false);
  host_->setChecked(ControlId::VertexOnly, true);
}

namespace {

using MeshCommand = void (*)(MeshStore&, Host&, ViewerPort&);

struct RoutedCommand {
  ControlId control;
  MeshCommand run;
};

// The commands that need nothing but the store, the host and the viewer.
constexpr RoutedCommand kMeshCommands[] = {
    {ControlId::OpenMt, OpenMt},
    {ControlId::MirrorLeftToRight, MirrorLeftToRight},
    {ControlId::MirrorRightToLeft, MirrorRightToLeft},
    {ControlId::Swap, SwapSides},
    {ControlId::MinusDelta, MinusDelta},
    {ControlId::PlusDelta, PlusDelta},
    {ControlId::ResetLeft, ResetLeft},
    {ControlId::ResetRight, ResetRight},
    {ControlId::Melt, MeltMt},
};

}  // namespace

bool CommandRouter::press(ControlId control) {
  if (!host_->enabled(control)) {
    return false;
  }
  Host& host = *host_;
  for (const RoutedCommand& command : kMeshCommands) {
    if (command.control == control) {
      command.run(store_, host, viewer_);
      return true;
    }
  }
  switch (control) {
    case ControlId::OpenBase:
      OpenBase(store_, *scratch_, host, viewer_);
      return true;
    case ControlId::SaveMt:
      SaveMt(store_, host, host_->checked(ControlId::VertexOnly), files_);
      return true;
    case ControlId::VertexOnly:
      host.setChecked(ControlId::VertexOnly, !host_->checked(ControlId::VertexOnly));
      VertexOnlyClicked(store_, host);
      return true;
    case ControlId::ReflectedBase:
      // A push-like check box: its look flips with every click, whatever the command does.
      host.setChecked(ControlId::ReflectedBase, !host_->checked(ControlId::ReflectedBase));
      ToggleReflectedBase(store_, host, viewer_, reflectPreview_);
      return true;
    default:
      return false;  // "&G", the slider and "e&Xit" belong to the front end
  }
}

bool CommandRouter::isEnabled(ControlId control) const { return host_->enabled(control); }

bool CommandRouter::isChecked(ControlId control) const { return host_->checked(control); }

}  // namespace calveth
