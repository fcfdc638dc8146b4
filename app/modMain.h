#pragma once

class AppServices;
class WindowServices;

// The program's entry: prepares the shared services and opens the main
// window; returns when the main window has closed.
int modMain(int argc, char** argv);

// The two services shared by the whole program while it runs.
namespace SharedServices {
WindowServices& Windows();
AppServices& App();
// Lets both go; they are made again if anything still asks for them.
void Release();
} // namespace SharedServices
