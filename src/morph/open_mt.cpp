#include "morph/open_mt.h"

#include <string_view>

#include "objio/line_reader.h"
#include "objio/vertex_line.h"
#include "ports/status_text.h"

namespace calveth {
namespace {

enum class MtRead { Complete, Overflow, BadVertexLine, ReadError };

// Stores the MT's vertices and displacements as they are read, in one pass.
MtRead readMt(LineReader& reader, MeshStore& store) {
  std::string_view line;
  while (reader.next(line)) {
    if (isVertexLine(line)) {
      const VertexLine vertex = parseVertexLine(line);
      store.vTokenCount = vertex.converted;
      if (!vertex.ok) {
        return MtRead::BadVertexLine;
      }
      const VertexIndex n = store.mtVertexCount;
      store.MtX[n] = vertex.x;
      store.MtY[n] = vertex.y;
      store.MtZ[n] = vertex.z;
      store.DeltaX[n] = vertex.x - store.BaseX[n];
      store.DeltaY[n] = vertex.y - store.BaseY[n];
      store.DeltaZ[n] = vertex.z - store.BaseZ[n];
      store.mtVertexCount = n + 1;
      store.mtXSum += vertex.x;
      if (store.mtVertexCount > kMaxVertices) {
        return MtRead::Overflow;
      }
    } else if (line.starts_with("vt") || line.starts_with('f')) {
      store.mtHasFaceLines = 1;
    }
  }
  return reader.failed() ? MtRead::ReadError : MtRead::Complete;
}

}  // namespace

std::string mtTitleOf(const std::string& utf8Path) {
  std::string name = utf8FromPath(pathFromUtf8(utf8Path).filename());
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) {
    name.resize(dot);
  }
  return name;
}

MtOutcome OpenMt(MeshStore& store, Host& host, ViewerPort& viewer, CommandSteps& steps) {
  const auto path = host.chooseOpenFile({"Original Body Parts(*.obj)|*.obj||", "*.obj", "obj"});
  if (!path) {
    return MtOutcome::Cancelled;
  }
  store.mtPath = *path;
  store.mtTitle = mtTitleOf(*path);
  steps.reached(CommandStep::MtFileChosen);

  FileSource file(store.mtPath);
  if (!file.isOpen()) {
    host.setStatusText("ERR: Obj file not open!");
    return MtOutcome::NotRead;
  }
  steps.reached(CommandStep::MtFileOpened);
  store.mtHasFaceLines = 0;
  store.mtXSum = 0.0;
  store.mtVertexCount = 0;

  LineReader reader(file);
  const MtRead read = readMt(reader, store);
  if (read == MtRead::BadVertexLine) {
    host.setStatusText(formatText("ERR: Obj file v line err![%d]", store.vTokenCount));
    return MtOutcome::NotRead;
  }
  if (read == MtRead::ReadError) {
    // A file that fails part-way through is refused like one that never opened; what was
    // stored so far counts as for a bad vertex line.
    host.setStatusText("ERR: Obj file not open!");
    return MtOutcome::NotRead;
  }

  const int n = static_cast<int>(store.mtVertexCount);
  const int b = static_cast<int>(store.baseVertexCount);
  MtOutcome outcome = MtOutcome::Refused;
  std::string status;
  if (read == MtRead::Overflow || n == 0) {
    status = formatText("ERR: v line out of range (%d)", n);
  } else if (n != b && store.halfBase == 0) {
    status = formatText("ERR: MT v line unmatch %d %d", b, n);
  } else if (b != 2 * n && store.halfBase == 1) {
    status = formatText("ERR: H-MT v line unmatch %d %d", b, n);
  } else if (store.halfBase == 1) {
    status = "OK: CHOOSE SWAP ONLY";
    outcome = MtOutcome::Half;
  } else {
    status = formatText("OK: Choose Function (v=%d/%d)", b, n);
    outcome = MtOutcome::Full;
  }
  // A refused MT shows an empty picture; the base's faces stay for the next accepted MT.
  int facesShown = store.faceCount;
  if (outcome == MtOutcome::Refused) {
    store.mtVertexCount = 0;
    facesShown = 0;
  }
  host.setStatusText(status);
  viewer.refresh(mtViewerInput(store, static_cast<int>(store.mtVertexCount), facesShown));
  return outcome;
}

}  // namespace calveth
