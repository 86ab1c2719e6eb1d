#include "viewer/reflected_base.h"

namespace calveth {

ReflectedPreview ToggleReflectedBase(MeshStore& store, ViewerPort& viewer, int& reflectPreview) {
  const VertexIndex n = store.baseVertexCount;
  if (n == 0) {
    return ReflectedPreview::NoBase;
  }
  if (reflectPreview == 0) {
    reflectPreview = 1;
    for (VertexIndex i = 0; i < n; ++i) {
      store.WorkX[i] = -store.BaseX[i];
      store.WorkY[i] = store.BaseY[i];
      store.WorkZ[i] = store.BaseZ[i];
    }
    store.workVertexCount = n;
  } else {
    reflectPreview = 0;
    // Y and Z are copied again too: a generating command may have filled them since.
    for (VertexIndex i = 0; i < n; ++i) {
      store.WorkX[i] = store.BaseX[i];
      store.WorkY[i] = store.BaseY[i];
      store.WorkZ[i] = store.BaseZ[i];
    }
  }
  viewer.refresh(workViewerInput(store, static_cast<int>(n), store.faceCount));
  return reflectPreview == 1 ? ReflectedPreview::Shown : ReflectedPreview::Withdrawn;
}

}  // namespace calveth
