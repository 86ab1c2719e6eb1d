// What can be pressed when, as values: the enabled and checked controls of each session state,
// and what each step changes and tells the host. No dialog, no files.
#include "app/availability.h"

#include <gtest/gtest.h>

#include <string>

namespace calveth {
namespace {

// "enabled ids / checked ids", ids ascending.
std::string describe(const SessionState& state) {
  std::string enabled;
  std::string checked;
  for (int id : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 1002, 1003, 1005}) {
    const auto control = static_cast<ControlId>(id);
    if (isEnabledIn(state, control)) {
      enabled += (enabled.empty() ? "" : " ") + std::to_string(id);
    }
    if (isCheckedIn(state, control)) {
      checked += " " + std::to_string(id);
    }
  }
  return enabled + " /" + checked;
}

// "e9+ c1003-": enabled or checked state told to the host, in order.
std::string describe(const std::vector<ControlChange>& changes) {
  std::string text;
  for (const ControlChange& change : changes) {
    text += (text.empty() ? "" : " ") + std::string(change.checkState ? "c" : "e") +
            std::to_string(static_cast<int>(change.control)) + (change.on ? "+" : "-");
  }
  return text;
}

constexpr const char* kAllOperations = "e7+ e6+ e10+ e11+ e12+ e3+ e8+ e13+";
constexpr const char* kNoOperations = "e7- e6- e10- e11- e12- e3- e8- e13-";

SessionState fullMt(bool generated = false) {
  return {BaseState::Usable, MtState::Full, true, generated, false, true};
}

struct StepCase {
  const char* name;
  SessionState before;
  SessionStep step;
  std::string availableAfter;  // describe(state after the step)
  std::string told;            // describe(changes told to the host)
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

class AvailabilityTable : public ::testing::TestWithParam<StepCase> {};

TEST_P(AvailabilityTable, StateAndWhatTheHostIsTold) {
  const StepCase& c = GetParam();
  const SessionState after = nextState(c.before, c.step);
  EXPECT_EQ(describe(after), c.availableAfter);
  EXPECT_EQ(describe(changesFor(c.before, after, c.step)), c.told);
}

using B = BaseState;
using M = MtState;
using S = SessionStep;

INSTANTIATE_TEST_SUITE_P(
    Rows, AvailabilityTable,
    ::testing::Values(
        StepCase{"program_start", fullMt(true), S::Start, "1 5 9 1005 / 1003",
                 std::string("e5+ e9+ e1+ e1005+ ") + kNoOperations + " e4- e1003- e1002- c1003+"},
        StepCase{"base_chosen", fullMt(true), S::BaseChosen, "1 5 9 1003 1005 / 1003",
                 std::string(kNoOperations) + " e4- e1002-"},
        StepCase{"base_usable_offers_open_mt_again",
                 {B::Chosen},
                 S::BaseUsable,
                 "1 5 9 1005 / 1003",
                 "e9+"},
        StepCase{"base_without_mirror",
                 {B::Chosen},
                 S::BaseWithoutMirror,
                 "1 5 9 1002 1005 / 1003",
                 "e1002+"},
        StepCase{"base_same_point", {B::Chosen}, S::BaseSamePointHit, "1 5 9 1005 / 1003", ""},
        StepCase{"base_refused", {B::Chosen}, S::BaseRefused, "1 5 9 1005 / 1003", ""},
        StepCase{"mt_chosen", fullMt(true), S::MtChosen, "1 5 9 1003 1005 / 1003",
                 std::string(kNoOperations) + " e4-"},
        StepCase{"mt_opened_checks_vertex_only",
                 {B::Usable, M::None, true, false, false, false},
                 S::MtOpened,
                 "1 5 9 1003 1005 / 1003",
                 "c1003+"},
        StepCase{"full_mt",
                 {B::Usable},
                 S::MtFull,
                 "1 3 5 6 7 8 9 10 11 12 13 1003 1005 / 1003",
                 std::string(kAllOperations) + " e1003+"},
        StepCase{"half_mt", {B::Usable}, S::MtHalf, "1 5 9 10 1003 1005 / 1003", "e10+ e1003+"},
        StepCase{"mt_refused", {B::Usable}, S::MtRefused, "1 5 9 1003 1005 / 1003", "e1003+"},
        StepCase{"generated", fullMt(), S::Generated,
                 "1 3 4 5 6 7 8 9 10 11 12 13 1003 1005 / 1003", "e4+"},
        StepCase{"reflected_switched",
                 {B::WithoutMirror},
                 S::ReflectedSwitched,
                 "1 5 9 1002 1005 / 1002 1003",
                 "c1002+"},
        StepCase{"reflected_shown",
                 {B::WithoutMirror, M::None, false, false, true},
                 S::ReflectedShown,
                 "1 4 5 9 1002 1005 / 1002 1003",
                 "e4+"},
        StepCase{"reflected_withdrawn",
                 {B::WithoutMirror, M::None, false, true, false},
                 S::ReflectedWithdrawn,
                 "1 5 9 1002 1005 / 1003",
                 "e4-"},
        // the switch keeps its pressed look while a new base has disabled it
        StepCase{"reflected_kept_by_new_base",
                 {B::WithoutMirror, M::None, false, true, true},
                 S::BaseChosen,
                 "1 5 9 1005 / 1002 1003",
                 std::string(kNoOperations) + " e4- e1002-"},
        StepCase{"vertex_only_switched", fullMt(), S::VertexOnlySwitched,
                 "1 3 5 6 7 8 9 10 11 12 13 1003 1005 /", "c1003-"},
        StepCase{"vertex_only_kept",
                 {B::Usable, M::Full, true, false, false, false},
                 S::VertexOnlyKept,
                 "1 3 5 6 7 8 9 10 11 12 13 1003 1005 / 1003",
                 "c1003+"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace calveth
