#include "morph/finish_generation.h"

#include "ports/status_text.h"

namespace calveth {

void finishGeneration(MeshStore& store, Host& host, ViewerPort& viewer, const char* status,
                      const char* tag, VertexIndex produced) {
  showStatus(host, status);
  store.operationTag = tag;
  store.workVertexCount = produced;
  viewer.refresh(workViewerInput(store, static_cast<int>(store.mtVertexCount), store.faceCount));
}

}  // namespace calveth
