// Test support: a Pattern file in a fresh temporary folder, and an owner
// that records the messages shown.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/owner.h"

class TestPatternFolder {
 public:
  TestPatternFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::path(::testing::TempDir()) / (std::string(test->test_suite_name()) + "_" + test->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  ~TestPatternFolder() { std::filesystem::remove_all(folder_); }

  std::string Write(const std::string& content, const char* name = "vitrelle.cfg") const {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }
  std::string Read(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  size_t FileCount() const { return size_t(std::distance(std::filesystem::directory_iterator(folder_), {})); }
  std::string PathOf(const char* name) const { return (folder_ / name).string(); }

 private:
  std::filesystem::path folder_;
};

struct MessageRecorder {
  std::vector<std::string> texts, captions;

  Owner owner() {
    Owner o;
    o.context = this;
    o.warn = [](void* context, const char* text, const char* caption) {
      static_cast<MessageRecorder*>(context)->texts.push_back(text);
      static_cast<MessageRecorder*>(context)->captions.push_back(caption);
    };
    return o;
  }
};
