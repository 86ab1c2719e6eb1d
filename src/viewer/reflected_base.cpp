#include "viewer/reflected_base.h"

namespace calveth {

void ToggleReflectedBase(MeshStore& store, Host& host, ViewerPort& viewer, int& reflectPreview) {
  const std::uint32_t n = store.baseVertexCount;
  if (n == 0) {
    return;
  }
  if (reflectPreview == 0) {
    reflectPreview = 1;
    for (std::uint32_t i = 0; i < n; ++i) {
      store.WorkX[i] = -store.BaseX[i];
      store.WorkY[i] = store.BaseY[i];
      store.WorkZ[i] = store.BaseZ[i];
    }
    store.workVertexCount = n;
    host.setEnabled(ControlId::SaveMt, true);
  } else {
    reflectPreview = 0;
    // Y and Z are copied again too: a generating command may have filled them since.
    for (std::uint32_t i = 0; i < n; ++i) {
      store.WorkX[i] = store.BaseX[i];
      store.WorkY[i] = store.BaseY[i];
      store.WorkZ[i] = store.BaseZ[i];
    }
    host.setEnabled(ControlId::SaveMt, false);
  }
  viewer.refresh(workViewerInput(store, static_cast<int>(n), store.faceCount));
}

}  // namespace calveth
