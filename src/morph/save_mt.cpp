#include "morph/save_mt.h"

#include "objio/mt_writer.h"

namespace calveth {
namespace {

const char* failureText(MtWriteOutcome outcome) {
  switch (outcome) {
    case MtWriteOutcome::OpenError:
      return "ERR:New MT file open err";
    case MtWriteOutcome::NotFinite:
      return "ERR:New MT value is not finite";
    case MtWriteOutcome::MtReadError:
      return "ERR:MT file read err";
    default:
      return "ERR:New MT file write err";
  }
}

}  // namespace

void SaveMt(MeshStore& store, Host& host, bool vertexOnly, FileWriteLayer& files) {
  const std::string proposed = store.mtTitle + store.operationTag + ".obj";
  const auto path = host.chooseSaveFile({"New MT file (*.obj)|*.obj||", proposed, "obj"});
  if (!path) {
    return;
  }
  MtFileContent content;
  content.title = store.mtTitle;
  content.x = store.WorkX.data();
  content.y = store.WorkY.data();
  content.z = store.WorkZ.data();
  content.vertexCount = store.workVertexCount;
  if (!vertexOnly) {
    content.copyFrom = store.mtPath;
  }
  const MtWriteOutcome outcome = writeMtFile(*path, content, files);
  if (outcome == MtWriteOutcome::Saved) {
    host.setStatusText(vertexOnly ? "OK:New MT save" : "OK:New OBJ save");
  } else {
    host.setStatusText(failureText(outcome));
  }
}

}  // namespace calveth
