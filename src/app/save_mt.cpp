#include "app/save_mt.h"

#include "objio/mt_writer.h"

namespace calveth {

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
  switch (writeMtFile(*path, content, files)) {
    case MtWriteOutcome::Saved:
      host.setStatusText(vertexOnly ? "OK:New MT save" : "OK:New OBJ save");
      break;
    case MtWriteOutcome::OpenError:
      host.setStatusText("ERR:New MT file open err");
      break;
    case MtWriteOutcome::NotFinite:
      host.setStatusText("ERR:New MT value is not finite");
      break;
    case MtWriteOutcome::MtReadError:
      host.setStatusText("ERR:MT file read err");
      break;
    case MtWriteOutcome::WriteError:
      host.setStatusText("ERR:New MT file write err");
      break;
  }
}

}  // namespace calveth
