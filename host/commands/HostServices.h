#pragma once
// Starts the platform services of a run and joins them to the command line: the settings
// store in the run's config folder, and the headless user interface (message boxes printed to
// the transcript, file prompts asked on the command line).
#include <filesystem>

namespace vtcad::commands {

// `interactive`: a person sits at a terminal (the shell may then open documents on a desktop);
// otherwise everything that would show a window is printed instead.
void startHostServices(const std::filesystem::path& configDir, bool interactive);

}  // namespace vtcad::commands
