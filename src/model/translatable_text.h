// Marks a core text that the windows show translated, with the context they look it up
// in. The core does not use Qt: the marker gives back its text, and the build's text
// extraction collects the text and its context from it.
#pragma once

#define QEL_TRANSLATE_NOOP(context, text) text
