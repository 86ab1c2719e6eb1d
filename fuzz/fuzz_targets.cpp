#include "fuzz_targets.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "app/availability.h"
#include "app/command_router.h"
#include "support/base_snapshot.h"
#include "support/saved_mt_file.h"
#include "viewer/svg_canvas.h"
#include "viewer/wire_viewer.h"

namespace calveth::fuzzing {
namespace {

void abortOnFailure(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, what);
  std::abort();
}

FailureHandler failureHandler = abortOnFailure;

#define FUZZ_CHECK(condition)                         \
  do {                                                \
    if (!(condition)) {                               \
      failureHandler(#condition, __FILE__, __LINE__); \
    }                                                 \
  } while (false)

// One folder per process for the files the commands read and write, removed at exit.
class Folder {
 public:
  Folder() {
    std::random_device entropy;
    path_ = std::filesystem::temp_directory_path() /
            ("calveth-fuzz-" + std::to_string(entropy()) + std::to_string(entropy()));
    std::filesystem::create_directories(path_);
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  // An empty folder for one input.
  std::string fresh() const {
    const std::filesystem::path run = path_ / "run";
    std::error_code ignored;
    std::filesystem::remove_all(run, ignored);
    std::filesystem::create_directory(run);
    return run.string();
  }

 private:
  std::filesystem::path path_;
};

const Folder& folder() {
  static const Folder instance;
  return instance;
}

std::string writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> namesIn(const std::string& path) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// Answers the file choices and the question, keeps the last status text and checks that the
// progress bar never goes below its range. (It may go past the top: a vertex with several
// exact partners counts two hits, as the status text "OK:Symmetry(hits/count)" shows too.)
class FuzzHost final : public Host {
 public:
  std::optional<std::string> openFile;
  std::optional<std::string> saveFile;
  bool answer = true;
  std::string status;

  void setStatusText(std::string_view text) override { status = text; }
  void setEnabled(ControlId, bool) override {}
  void setChecked(ControlId, bool) override {}
  void setProgressRange(int low, int high) override {
    FUZZ_CHECK(low <= high);
    low_ = low;
  }
  void setProgressPosition(int position) override { FUZZ_CHECK(position >= low_); }
  void repaintNow() override {}
  std::optional<std::string> chooseOpenFile(const FileChoice&) override {
    return std::exchange(openFile, std::nullopt);
  }
  std::optional<std::string> chooseSaveFile(const FileChoice&) override {
    return std::exchange(saveFile, std::nullopt);
  }
  bool askYesNo(std::string_view) override { return answer; }
  void warn(std::string_view) override {}

 private:
  int low_ = 0;
};

// The dialog without a window. A session lives as long as the process, as the dialog does
// over many files: a fresh store for every input would cost more than the input itself.
struct Session {
  std::unique_ptr<MeshStore> store = std::make_unique<MeshStore>();
  FuzzHost host;
  WireViewer viewer{*store};
  CommandRouter router{*store, host, viewer};

  Session() { router.start(); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Every control as at program start; the store keeps what earlier inputs left, which the
  // commands must cope with as they do in a long session.
  static Session& restarted() {
    static Session session;
    session.viewer.close();
    session.router.start();
    return session;
  }

  std::string press(ControlId control) {
    host.status.clear();
    router.press(control);
    return host.status;
  }
  std::string openBase(const std::string& path, bool answer) {
    host.openFile = path;
    host.answer = answer;
    return press(ControlId::OpenBase);
  }
  std::string openMt(const std::string& path) {
    host.openFile = path;
    return press(ControlId::OpenMt);
  }
  bool anyGenerating() const {
    for (ControlId control : kOperationButtons) {
      if (router.isEnabled(control)) {
        return true;
      }
    }
    return false;
  }
};

constexpr std::string_view kCube =
    "v 1 1 1\nv -1 1 1\nv 1 -1 1\nv -1 -1 1\nv 1 1 -1\nv -1 1 -1\nv 1 -1 -1\nv -1 -1 -1\n"
    "f 1 2 4 3\nf 5 6 8 7\nf 1 2 6 5\nf 3 4 8 7\nf 1 3 7 5\nf 2 4 8 6\n";
constexpr std::string_view kHalfBase = "#HALF\nv 1 0 0\nv 2 0 0\nv -1 0 0\nv -2 0 0\nf 1 2 3\n";

// What an accepted base must look like after its analysis.
void checkAcceptedBase(const Session& session, const std::string& status) {
  const MeshStore& store = *session.store;
  FUZZ_CHECK(status.starts_with("OK") || status.starts_with("NG:") ||
             status.starts_with("CRITICAL ERR:"));
  const int n = static_cast<int>(store.baseVertexCount);
  FUZZ_CHECK(n >= 1 && n <= static_cast<int>(kMaxVertices));
  FUZZ_CHECK(store.faceCount >= 0 && store.faceCount <= kMaxFaces);
  std::size_t corners = 0;
  for (int f = 0; f < store.faceCount; ++f) {
    const auto k = static_cast<std::size_t>(f);
    FUZZ_CHECK(store.FaceCornerCount[k] >= 3);
    FUZZ_CHECK(static_cast<std::size_t>(store.FaceStart[k]) == corners);
    corners += static_cast<std::size_t>(store.FaceCornerCount[k]);
  }
  FUZZ_CHECK(corners <= kCornerCapacity);
  for (int i = 0; i < n; ++i) {
    const int partner = store.MirrorMap[static_cast<std::size_t>(i)];
    FUZZ_CHECK(partner >= kDuplicatePartner && partner < n);
    FUZZ_CHECK(partner < 0 || store.PairedFlags[static_cast<std::size_t>(i)] == 1);
  }
  for (ControlId control : kOperationButtons) {
    FUZZ_CHECK(!session.router.isEnabled(control));
  }
  FUZZ_CHECK(!session.router.isEnabled(ControlId::SaveMt));
}

}  // namespace

void setFailureHandler(FailureHandler handler) {
  failureHandler = handler != nullptr ? handler : abortOnFailure;
}

void runOpenBase(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return;
  }
  const std::string dir = folder().fresh();
  Session& session = Session::restarted();
  FUZZ_CHECK(session.openBase(writeFile(dir + "/first.obj", kCube), true) ==
             "OK: Perfect symmetry V=8 F=6");
  const auto before = testing::BaseSnapshot::of(*session.store);
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string status = session.openBase(writeFile(dir + "/base.obj", bytes), data[0] & 1);
  if (status.starts_with("ERR")) {
    FUZZ_CHECK(testing::BaseSnapshot::of(*session.store) == before);
  } else {
    checkAcceptedBase(session, status);
  }
}

void runOpenMt(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return;
  }
  // Loaded once per process: "&Open MT" never changes the base, which the checks confirm.
  static std::array<std::unique_ptr<Session>, 4> sessions;
  const std::size_t pick = data[0] % 4;
  if (!sessions[pick]) {
    sessions[pick] = std::make_unique<Session>();
    const std::string dir = folder().fresh();
    const std::string samples = CALVETH_SAMPLES_DIR;
    const std::string bases[] = {writeFile(dir + "/cube.obj", kCube),
                                 writeFile(dir + "/half.obj", kHalfBase),
                                 samples + "/head_base.obj", samples + "/hands_base.obj"};
    FUZZ_CHECK(sessions[pick]->openBase(bases[pick], true).starts_with("OK: Perfect symmetry"));
  }
  Session& session = *sessions[pick];
  const auto before = testing::BaseSnapshot::of(*session.store);
  const std::string dir = folder().fresh();
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string status = session.openMt(writeFile(dir + "/mt.obj", bytes));
  const MeshStore& store = *session.store;
  FUZZ_CHECK(testing::BaseSnapshot::of(store) == before);
  FUZZ_CHECK(!session.router.isEnabled(ControlId::SaveMt));
  const std::uint32_t b = store.baseVertexCount;
  if (status == "OK: CHOOSE SWAP ONLY") {
    FUZZ_CHECK(store.halfBase == 1 && 2 * store.mtVertexCount == b);
    FUZZ_CHECK(session.router.isEnabled(ControlId::Swap));
    FUZZ_CHECK(!session.router.isEnabled(ControlId::MirrorLeftToRight));
  } else if (status.starts_with("OK")) {
    FUZZ_CHECK(store.halfBase == 0 && store.mtVertexCount == b);
    for (ControlId control : kOperationButtons) {
      FUZZ_CHECK(session.router.isEnabled(control));
    }
  } else {
    FUZZ_CHECK(status.starts_with("ERR"));
    FUZZ_CHECK(!session.anyGenerating());
  }
}

void runSequence(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return;
  }
  const std::uint8_t choice = data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t cut = rest.find(kSequenceSeparator);
  const std::string_view baseBytes = cut == std::string_view::npos ? rest : rest.substr(0, cut);
  const std::string_view mtBytes =
      cut == std::string_view::npos ? rest : rest.substr(cut + kSequenceSeparator.size());

  const std::string dir = folder().fresh();
  Session& session = Session::restarted();
  static SvgCanvas canvas(408, 389, 96);
  session.viewer.open(canvas);
  if (session.openBase(writeFile(dir + "/base.obj", baseBytes), (choice & 8) != 0)
          .starts_with("ERR")) {
    return;
  }
  const std::string mtPath = writeFile(dir + "/mt.obj", mtBytes);
  if (!session.openMt(mtPath).starts_with("OK")) {
    FUZZ_CHECK(!session.anyGenerating());
    return;
  }
  const ControlId command = kOperationButtons[choice & 7];
  if (!session.router.isEnabled(command)) {
    return;
  }
  session.press(command);
  if (!session.router.isEnabled(ControlId::SaveMt)) {
    FUZZ_CHECK(command == ControlId::Melt);  // only "Melt" may refuse
    return;
  }
  if ((choice & 16) == 0) {
    session.press(ControlId::VertexOnly);
  }
  const bool copyPass = !session.router.isChecked(ControlId::VertexOnly);
  const bool overMt = (choice & 32) != 0;
  const std::string target = overMt ? mtPath : dir + "/out.obj";
  if (!overMt && (choice & 64) != 0) {
    writeFile(target, "previous\n");
  }
  const auto previous = readFile(target);
  const auto namesBefore = namesIn(dir);
  session.host.saveFile = target;
  const std::string status = session.press(ControlId::SaveMt);
  const auto saved = readFile(target);

  auto names = namesIn(dir);
  names.insert("out.obj");
  auto expectedNames = namesBefore;
  expectedNames.insert("out.obj");
  FUZZ_CHECK(names == expectedNames);  // no temporary file stays behind
  if (status == "OK:New MT save" || status == "OK:New OBJ save") {
    FUZZ_CHECK(copyPass == (status == "OK:New OBJ save"));
    FUZZ_CHECK(saved.has_value());
    FUZZ_CHECK(
        testing::isWholeMtFile(*saved, "mt", target, session.store->workVertexCount, copyPass));
  } else {
    FUZZ_CHECK(status == "ERR:New MT value is not finite" || status == "ERR:MT file read err");
    FUZZ_CHECK(saved == previous);
  }
}

}  // namespace calveth::fuzzing
