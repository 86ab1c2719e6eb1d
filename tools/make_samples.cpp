// Writes the bundled sample files into the folder given as the only argument.
//
//   head_base.obj       a mirror-symmetric head: every vertex has exactly one exact partner
//   head_base_near.obj  the same head with six vertices moved by 0.000003 in X, less than
//                       the first tolerance of the auto detection, so that one pass pairs them
//
// The output is deterministic: running the tool again gives the same bytes.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "meshgen/body_part.h"

namespace {

constexpr int kHeadRings = 48;
constexpr int kHeadSegments = 64;

bool writeFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  file.close();
  if (!file) {
    std::cerr << "make-samples: cannot write " << path << '\n';
    return false;
  }
  std::cout << path << '\n';
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make-samples OUTPUT_FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  using namespace calveth::meshgen;

  Mesh head = headMesh(kHeadRings, kHeadSegments);
  ObjOptions options;
  options.header = "calveth sample: head base body part\nmirror-symmetric about X = 0";
  options.group = "head";
  if (!writeFile(folder + "/head_base.obj", toObj(head, options))) {
    return 1;
  }

  // Six vertices of the left side, away from the seam, each moved a little in X.
  for (int ring : {5, 15, 25, 35}) {
    const int vertex = 1 + ring * kHeadSegments + kHeadSegments / 8;
    head.vertices[static_cast<std::size_t>(vertex)][0] += 0.000003;
  }
  for (int ring : {10, 30}) {
    const int vertex = 1 + ring * kHeadSegments + kHeadSegments / 4 + 3;
    head.vertices[static_cast<std::size_t>(vertex)][0] += 0.000003;
  }
  options.header =
      "calveth sample: head base body part, nearly symmetric\n"
      "six vertices miss their mirror partner by 0.000003 in X";
  return writeFile(folder + "/head_base_near.obj", toObj(head, options)) ? 0 : 1;
}
