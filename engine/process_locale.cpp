#include "engine/process_locale.h"

#include <langinfo.h>

#include <clocale>
#include <cstring>

namespace {
bool CharactersAreUtf8() { return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0; }
}  // namespace

bool SetProcessLocale() {
  // An environment naming a locale that is not installed leaves the categories
  // that can be had (the time category on its own) from the environment.
  if (!std::setlocale(LC_ALL, "")) std::setlocale(LC_TIME, "");
  std::setlocale(LC_NUMERIC, "C");
  if (!CharactersAreUtf8() && !std::setlocale(LC_CTYPE, "C.UTF-8")) return false;
  return CharactersAreUtf8();
}
