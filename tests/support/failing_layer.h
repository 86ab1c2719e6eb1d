// The real file system, with one chosen operation of the file-writing layer failing.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "objio/safe_file_writer.h"

namespace calveth::testing {

class FailingLayer final : public FileWriteLayer {
 public:
  enum class Fail { Nothing, Create, Write, Close, Replace };
  Fail fail = Fail::Nothing;
  int failingWrite = 0;  // which write fails, counted from 0
  int writes = 0;

  std::unique_ptr<OutputFile> createBeside(const std::string& target,
                                           std::string& temporaryPath) override {
    if (fail == Fail::Create) {
      return nullptr;
    }
    auto file = real().createBeside(target, temporaryPath);
    return file ? std::make_unique<File>(*this, std::move(file)) : nullptr;
  }
  bool refusesWriting(const std::string& target) override { return real().refusesWriting(target); }
  bool replace(const std::string& temporary, const std::string& target) override {
    return fail != Fail::Replace && real().replace(temporary, target);
  }
  void remove(const std::string& path) override { real().remove(path); }
  std::string lastError() const override { return "made to fail"; }

 private:
  class File final : public OutputFile {
   public:
    File(FailingLayer& layer, std::unique_ptr<OutputFile> inner)
        : layer_(layer), inner_(std::move(inner)) {}
    bool write(const char* data, std::size_t size) override {
      const int index = layer_.writes++;
      if (layer_.fail == Fail::Write && index == layer_.failingWrite) {
        return false;
      }
      return inner_->write(data, size);
    }
    bool close() override { return inner_->close() && layer_.fail != Fail::Close; }

   private:
    FailingLayer& layer_;
    std::unique_ptr<OutputFile> inner_;
  };

  static FileWriteLayer& real() { return systemFileLayer(); }
};

}  // namespace calveth::testing
