// A screen for checking the controls: it shows both fonts and echoes every logical key with its
// hold time, the stylus position and the frame rate; the menu key opens the in-game menu over
// it. kestrel-run --input-test opens on it.
#pragma once

#include "app/screen.h"

class Application;

Screen* CreateInputTestScreen(Application* application);
