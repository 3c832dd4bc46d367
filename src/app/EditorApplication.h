#pragma once

// Runs the editor: the application, its one window and the main loop. Returns the exit status.
int RunEditor(int argc, char* argv[]);
