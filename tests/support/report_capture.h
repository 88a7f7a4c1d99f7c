// Collects what the library reports while a test runs.
#pragma once

#include <string>
#include <vector>

#include "platform/report.h"

class ReportCapture {
 public:
  ReportCapture() : previous_(mSetReportHook(&ReportCapture::receive)) {
    messages().clear();
  }
  ~ReportCapture() { mSetReportHook(previous_); }
  const std::vector<std::string>& all() const { return messages(); }
  std::string last() const {
    return messages().empty() ? std::string() : messages().back();
  }

 private:
  static std::vector<std::string>& messages() {
    static std::vector<std::string> received;
    return received;
  }
  static void receive(const char* message) { messages().push_back(message); }
  ReportHook previous_;
};
