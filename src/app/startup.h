// The start sequence after the frame shows: the stored configuration with its
// warnings, the language, and the single-instance rule.
#pragma once

#include "app/config_store.h"
#include "app/language.h"
#include "app/prompter.h"
#include "app/session.h"
#include "app/single_instance.h"

namespace qel {

// False when another instance runs (after telling the user): the program then ends.
bool startUp(Session& session, ConfigStore& store, Language& language, SingleInstance& instance,
             Prompter& prompter);

}  // namespace qel
