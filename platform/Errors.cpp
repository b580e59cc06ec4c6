#include "Errors.h"

#include "Components.h"

Exception::Exception(std::string_view fmt, std::initializer_list<FormatArg> args)
    : message_(Format(fmt, args)) {}

void Abort() { throw EAbort("Operation aborted"); }

void DatabaseError(const String& message, const TComponent* component) {
  if (component && !component->Name().empty()) throw EDatabaseError(component->Name() + ": " + message);
  throw EDatabaseError(message);
}

void DatabaseErrorFmt(std::string_view fmt, std::initializer_list<FormatArg> args,
                      const TComponent* component) {
  DatabaseError(Format(fmt, args), component);
}
