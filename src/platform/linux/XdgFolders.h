#pragma once

#include <QString>

namespace nc {

// The user's base folders by the freedesktop base-directory rules: a variable that is unset,
// empty or not an absolute path counts as unset, and the home folder comes from HOME or, where
// HOME is no absolute path, from the password database. Each answer is read afresh.

/// The user's home folder; empty when neither HOME nor the password database names one.
QString HomeFolder();
/// Where the user's configuration goes: $XDG_CONFIG_HOME, else <home>/.config.
QString XdgConfigHome();
/// Where the user's data goes: $XDG_DATA_HOME, else <home>/.local/share.
QString XdgDataHome();
/// Where the user's cached files go: $XDG_CACHE_HOME, else <home>/.cache.
QString XdgCacheHome();
/// The user's runtime folder, $XDG_RUNTIME_DIR; empty when that is unset or relative.
QString XdgRuntimeDir();

} // namespace nc
