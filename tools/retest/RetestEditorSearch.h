// The editor's matching for tesvarin-retest: -s OPTS (first hit) and -S OPTS (last hit).
#pragma once

namespace tesvarin {

// The arguments ask for the editor's search (-s or -S among the leading options).
[[nodiscard]] bool WantsEditorSearch(int Argc, char** Argv);
// Runs it and returns the exit status: 0, 1 for a usage or input error, 2 for a bad expression.
int RunEditorSearch(int Argc, char** Argv);

}  // namespace tesvarin
