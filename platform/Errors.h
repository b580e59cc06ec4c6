// The platform's exception classes. Every failure the framework reports is
// one of these, carrying its message text; the application's default handler
// shows Message() in a box (EAbort excepted: it is silent).
#pragma once

#include <exception>
#include <initializer_list>

#include "Text.h"

class TComponent;

class Exception : public std::exception {
 public:
  explicit Exception(String message) : message_(std::move(message)) {}
  Exception(std::string_view fmt, std::initializer_list<FormatArg> args);
  ~Exception() override = default;

  const String& Message() const { return message_; }
  void SetMessage(String message) { message_ = std::move(message); }
  const char* what() const noexcept override { return message_.c_str(); }
  virtual const char* ClassName() const { return "Exception"; }

 private:
  String message_;
};

#define QE_DECLARE_EXCEPTION(Name, Base)                                   \
  class Name : public Base {                                               \
   public:                                                                 \
    using Base::Base;                                                      \
    const char* ClassName() const override { return #Name; }               \
  }

// Silent exception: unwinds without a message box.
QE_DECLARE_EXCEPTION(EAbort, Exception);
QE_DECLARE_EXCEPTION(EConvertError, Exception);
QE_DECLARE_EXCEPTION(EVariantError, Exception);
QE_DECLARE_EXCEPTION(EListError, Exception);
QE_DECLARE_EXCEPTION(EInvalidOperation, Exception);
QE_DECLARE_EXCEPTION(EInvalidArgument, Exception);
QE_DECLARE_EXCEPTION(EOutOfMemory, Exception);
QE_DECLARE_EXCEPTION(EStreamError, Exception);
QE_DECLARE_EXCEPTION(EReadError, EStreamError);
QE_DECLARE_EXCEPTION(EWriteError, EStreamError);
QE_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
QE_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
QE_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
QE_DECLARE_EXCEPTION(EDatabaseError, Exception);
QE_DECLARE_EXCEPTION(EThread, Exception);
// Floating-point faults, raised explicitly where a computation would trap.
QE_DECLARE_EXCEPTION(EMathError, Exception);
QE_DECLARE_EXCEPTION(EZeroDivide, EMathError);
QE_DECLARE_EXCEPTION(EOverflow, EMathError);
QE_DECLARE_EXCEPTION(EInvalidOp, EMathError);

// An operating-system failure with its error code.
class EOSError : public Exception {
 public:
  EOSError(String message, uint32_t code) : Exception(std::move(message)), code_(code) {}
  uint32_t ErrorCode() const { return code_; }
  const char* ClassName() const override { return "EOSError"; }

 private:
  uint32_t code_;
};

[[noreturn]] void Abort();

// Raises EDatabaseError. With a component that has a name, the message is
// "Name: message", as the data-set framework reports its components' errors.
[[noreturn]] void DatabaseError(const String& message, const TComponent* component = nullptr);
[[noreturn]] void DatabaseErrorFmt(std::string_view fmt, std::initializer_list<FormatArg> args,
                                   const TComponent* component = nullptr);
