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

}  // namespace

std::string mirrorMapTable(const MeshStore& store) {
  std::string text = "vertex\tpartner\tpaired\tauto_partner\n";
  for (VertexIndex i = 0; i < store.baseVertexCount; ++i) {
    appendNumber(text, static_cast<int>(i), '\t');
    appendNumber(text, store.MirrorMap[i], '\t');
    appendNumber(text, store.PairedFlags[i], '\t');
    appendNumber(text, store.AutoPartner[i], '\n');
  }
  return text;
}

}  // namespace calveth
