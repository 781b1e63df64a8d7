#pragma once

#include <QString>
#include <QStringList>
#include <iostream>
#include <sstream>

namespace sessiya::testing {

// Keeps what the program writes to standard error while it lives.
class CapturedErrors {
 public:
  CapturedErrors() : previous_(std::cerr.rdbuf(captured_.rdbuf())) {}
  ~CapturedErrors() { std::cerr.rdbuf(previous_); }
  QStringList lines() const {
    return QString::fromStdString(captured_.str()).split('\n', Qt::SkipEmptyParts);
  }

 private:
  std::ostringstream captured_;
  std::streambuf* previous_;
};

}  // namespace sessiya::testing
