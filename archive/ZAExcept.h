// EZAException: every failure of the archiver. It carries the native error
// code (where and what failed) and the index of its message, and its text
// reads "[Name: ]message - Native error: NNNNN".
#pragma once

#include <initializer_list>

#include "platform/Errors.h"

class EZAException : public Exception {
 public:
  // The message at the code's index, unformatted.
  EZAException(int nativeError, const TComponent* archiver);
  // The message at the code's index formatted with args.
  EZAException(int nativeError, const TComponent* archiver, std::initializer_list<FormatArg> args);

  const char* ClassName() const override { return "EZAException"; }
  int ErrorCode() const { return errorCode_; }
  int NativeError() const { return nativeError_; }

 private:
  int errorCode_;
  int nativeError_;
};
