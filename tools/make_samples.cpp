// Writes the bundled sample files into the folder given as the only argument.
//
//   head_base.obj       a mirror-symmetric head: every vertex has exactly one exact partner
//   head_base_near.obj  the same head with six vertices moved by 0.000003 in X, less than
//                       the first tolerance of the auto detection, so that one pass pairs them
//   head_smile.obj      an MT of head_base: the left mouth corner raised (only vertices with
//                       X > 0 move), with the base's vt, vn, f and usemtl lines
//   head_smile_vertices.obj  the same MT with its "v" lines only
//   hands_base.obj      a body part holding both hands, marked "#HALF": the left hand first,
//                       then the right hand, its mirror image
//   hand_left_curl.obj  a half MT for the left hand of hands_base: the fingers curl up
//   hand_right_spread.obj  a half MT for the right hand: the hand widens towards its tip
//
// The output is deterministic: running the tool again gives the same bytes.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "meshgen/body_part.h"

namespace {

constexpr int kHeadRings = 48;
constexpr int kHeadSegments = 64;
constexpr int kHandRings = 24;
constexpr int kHandSegments = 16;

using calveth::meshgen::Mesh;

// Raises the left corner of the mouth and pulls it outwards a little; vertices with X <= 0
// stay where they are.
Mesh smile(Mesh head) {
  for (auto& v : head.vertices) {
    if (v[0] <= 0.0 || v[2] <= 0.02) {
      continue;
    }
    const double dx = v[0] - 0.022;
    const double dy = v[1] - 0.61;
    const double weight = std::exp(-(dx * dx + dy * dy) / (2.0 * 0.008 * 0.008));
    v[0] += 0.001 * weight;
    v[1] += 0.003 * weight;
  }
  return head;
}

// Bends a hand along its length: the further out (|X| from 0.35 to 0.5), the higher.
Mesh curl(Mesh hand) {
  for (auto& v : hand.vertices) {
    const double t = (std::fabs(v[0]) - 0.35) / 0.15;
    v[1] += 0.03 * t * t;
  }
  return hand;
}

// Widens a hand in Z towards its tip.
Mesh spread(Mesh hand) {
  for (auto& v : hand.vertices) {
    const double t = (std::fabs(v[0]) - 0.35) / 0.15;
    v[2] *= 1.0 + 0.6 * t;
  }
  return hand;
}

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
  if (!writeFile(folder + "/head_base_near.obj", toObj(head, options))) {
    return 1;
  }

  const Mesh smiling = smile(headMesh(kHeadRings, kHeadSegments));
  options.header = "calveth sample: MT of head_base\nthe left corner of the mouth raised";
  if (!writeFile(folder + "/head_smile.obj", toObj(smiling, options))) {
    return 1;
  }
  options.verticesOnly = true;
  options.header += "\nvertices only";
  if (!writeFile(folder + "/head_smile_vertices.obj", toObj(smiling, options))) {
    return 1;
  }

  const Mesh hands = handsMesh(kHandRings, kHandSegments);
  const std::size_t handVertices = hands.vertices.size() / 2;
  ObjOptions handOptions;
  handOptions.group = "hands";
  handOptions.half = true;
  handOptions.header =
      "calveth sample: both hands in one body part\n"
      "left hand first, then the right hand, its mirror image";
  if (!writeFile(folder + "/hands_base.obj", toObj(hands, handOptions))) {
    return 1;
  }
  handOptions.half = false;
  handOptions.group = "lHand";
  handOptions.header = "calveth sample: half MT of hands_base, left hand\nthe fingers curl up";
  if (!writeFile(folder + "/hand_left_curl.obj",
                 toObj(curl(firstVertices(hands, handVertices)), handOptions))) {
    return 1;
  }
  handOptions.group = "rHand";
  handOptions.header =
      "calveth sample: half MT of hands_base, right hand\nthe hand widens towards its tip";
  return writeFile(folder + "/hand_right_spread.obj",
                   toObj(spread(lastVertices(hands, handVertices)), handOptions))
             ? 0
             : 1;
}
