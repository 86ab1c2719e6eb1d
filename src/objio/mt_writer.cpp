#include "objio/mt_writer.h"

#include <cmath>
#include <string_view>

#include "objio/decimal_writing.h"
#include "objio/line_reader.h"

namespace calveth {
namespace {

bool allFinite(const MtFileContent& content) {
  for (VertexIndex i = 0; i < content.vertexCount; ++i) {
    if (!std::isfinite(content.x[i]) || !std::isfinite(content.y[i]) ||
        !std::isfinite(content.z[i])) {
      return false;
    }
  }
  return true;
}

// A file name may hold a CR or LF. In a header line it would start a line of its own, and a
// name such as "smile\nv 9 9 9.obj" would add a vertex to the file (or make it unreadable), so
// line ends in the title and the path are written as '?'.
void writeHeaderText(SafeFileWriter& writer, std::string_view text) {
  while (!text.empty()) {
    const std::size_t lineEnd = text.find_first_of("\r\n");
    writer.write(text.substr(0, lineEnd));
    if (lineEnd == std::string_view::npos) {
      return;
    }
    writer.write("?");
    text.remove_prefix(lineEnd + 1);
  }
}

void writeVertices(SafeFileWriter& writer, const MtFileContent& content) {
  constexpr std::size_t kLineRoom = 3 * (kFixedDecimalMaxChars + 1) + 2;
  for (VertexIndex i = 0; i < content.vertexCount; ++i) {
    char* at = writer.room(kLineRoom);
    *at++ = 'v';
    *at++ = ' ';
    at = writeFixedDecimal(at, content.x[i]);
    *at++ = ' ';
    at = writeFixedDecimal(at, content.y[i]);
    *at++ = ' ';
    at = writeFixedDecimal(at, content.z[i]);
    *at++ = '\n';
    writer.advance(at);
  }
}

// The kept lines that lie one after another in the reader's buffer, written as one piece when
// a line not kept comes between or before the reader drops them.
class KeptRun final : public DeliveredLinesWatch {
 public:
  explicit KeptRun(SafeFileWriter& writer) : writer_(writer) {}
  void add(std::string_view line) {
    if (line.data() != start_ + size_) {
      beforeDrop();
      start_ = line.data();
    }
    size_ += line.size();
  }
  void beforeDrop() override {
    if (size_ > 0) {
      writer_.write(std::string_view(start_, size_));
      size_ = 0;
    }
  }

 private:
  SafeFileWriter& writer_;
  const char* start_ = nullptr;
  std::size_t size_ = 0;
};

// Copies the lines of the MT file that carry its texture, normals, faces and materials.
bool copyFaceLines(SafeFileWriter& writer, const std::string& mtPath) {
  FileSource file(mtPath);
  if (!file.isOpen()) {
    return false;
  }
  LineReader reader(file);
  KeptRun run(writer);
  reader.watchDelivered(&run);
  std::string_view line;
  bool lineEndMissing = false;  // only the file's last line can end without one
  while (reader.next(line)) {
    if (isCopiedLine(line)) {
      run.add(line);
      lineEndMissing = line.back() != '\n';
    }
  }
  run.beforeDrop();
  if (lineEndMissing) {
    writer.write("\n");
  }
  return !reader.failed();
}

}  // namespace

MtWriteOutcome writeMtFile(const std::string& target, const MtFileContent& content,
                           FileWriteLayer& layer) {
  SafeFileWriter writer(layer);
  if (!writer.open(target)) {
    return MtWriteOutcome::OpenError;
  }
  if (!allFinite(content)) {
    return MtWriteOutcome::NotFinite;
  }
  writer.write("# Convert by TOLV\n# Original name: ");
  writeHeaderText(writer, content.title);
  writer.write("\n# Convert  name: ");
  writeHeaderText(writer, target);
  writer.write("\n");
  writeVertices(writer, content);
  writer.write("# vertex num is " + std::to_string(content.vertexCount) + "\n");
  if (!content.copyFrom.empty()) {
    if (!copyFaceLines(writer, content.copyFrom)) {
      return MtWriteOutcome::MtReadError;
    }
    writer.write("#\n");
  }
  return writer.commit() ? MtWriteOutcome::Saved : MtWriteOutcome::WriteError;
}

}  // namespace calveth
