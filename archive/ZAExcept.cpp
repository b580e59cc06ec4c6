#include "archive/ZAExcept.h"

#include "archive/ZAConst.h"
#include "platform/Components.h"

namespace {

String DecorateMessage(String text, int nativeError, const TComponent* archiver) {
  if (archiver && !archiver->Name().empty()) text = Format("%s: %s", {archiver->Name(), text});
  // "%5d" padded with zeros: codes of six digits or more stay whole.
  String code = Format("%5d", {nativeError});
  for (char& c : code)
    if (c == ' ') c = '0';
  return text + " - Native error: " + code;
}

}  // namespace

EZAException::EZAException(int nativeError, const TComponent* archiver)
    : Exception(DecorateMessage(ZAMessages[ZAMessageIndexFor(nativeError)], nativeError, archiver)),
      errorCode_(ZAMessageIndexFor(nativeError)),
      nativeError_(nativeError) {}

EZAException::EZAException(int nativeError, const TComponent* archiver,
                           std::initializer_list<FormatArg> args)
    : Exception(DecorateMessage(Format(ZAMessages[ZAMessageIndexFor(nativeError)], args),
                                nativeError, archiver)),
      errorCode_(ZAMessageIndexFor(nativeError)),
      nativeError_(nativeError) {}
