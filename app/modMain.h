#pragma once

class AppServices;
class TerminationSignals;
class WindowServices;
class frmMain;

// The program's entry: prepares the shared services and opens the main
// window; returns when the main window has closed.
int modMain(int argc, char** argv);

// When the platform ends the program, the window's closing saves run
// without the exit question and the program ends, open dialogs or not.
void EndSessionOn(TerminationSignals& termination, frmMain& window);

// The two services shared by the whole program while it runs.
namespace SharedServices {
WindowServices& Windows();
AppServices& App();
// Lets both go; they are made again if anything still asks for them.
void Release();
} // namespace SharedServices
