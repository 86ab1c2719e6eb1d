#include "cli/map_file.h"

#include <charconv>

namespace calveth {
namespace {

void appendNumber(std::string& text, int value, char after) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  text.append(digits, end);
  text.push_back(after);
}

// Told from the store rather than from AutoPartner alone, which reads 0 for a pair with
// vertex 0.
const char* howPaired(const MeshStore& store, VertexIndex i) {
  const int partner = store.MirrorMap[i];
  if (partner == kDuplicatePartner) {
    return "duplicate";
  }
  if (partner < 0 || partner >= static_cast<int>(store.baseVertexCount)) {
    return "none";
  }
  if (store.MeshPairedFlags[i] == 1) {
    return "mesh";
  }
  const auto j = static_cast<VertexIndex>(partner);
  const bool exact = store.BaseX[j] == -store.BaseX[i] && store.BaseY[j] == store.BaseY[i] &&
                     store.BaseZ[j] == store.BaseZ[i];
  return exact ? "exact" : "tolerance";
}

}  // namespace

std::string mirrorMapTable(const MeshStore& store, bool withHow) {
  std::string text = withHow ? "vertex\tpartner\tpaired\tauto_partner\thow\n"
                             : "vertex\tpartner\tpaired\tauto_partner\n";
  for (VertexIndex i = 0; i < store.baseVertexCount; ++i) {
    appendNumber(text, static_cast<int>(i), '\t');
    appendNumber(text, store.MirrorMap[i], '\t');
    appendNumber(text, store.PairedFlags[i], '\t');
    appendNumber(text, store.AutoPartner[i], withHow ? '\t' : '\n');
    if (withHow) {
      text += howPaired(store, i);
      text += '\n';
    }
  }
  return text;
}

}  // namespace calveth
