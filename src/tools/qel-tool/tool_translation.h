// The program's Italian texts from its translation file (i18n/qel_it.ts), compiled into
// qel-tool when it is built with Qt; the one source of the texts the windows show too.
#pragma once

#include <string>

namespace qel::tool {

// Whether this qel-tool holds the translation file (a build without Qt does not).
bool hasTranslations();

// The Italian text of `source` in the window class `context` ("qel::ExportController"), one
// byte a character (Latin-1); `source` itself when the file holds none.
std::string italianText(const char* context, const char* source,
                        const char* disambiguation = nullptr);

}  // namespace qel::tool
