// Fills the screen factory with the menu screens: intro, title, credits and controls.
#pragma once

struct ScreenFactory;

void RegisterMenuScreens(ScreenFactory& factory);
