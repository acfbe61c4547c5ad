// Fills the screen factory with the menu screens: intro, title, credits, controls, the mission,
// helicopter and loadout selection and the debriefing.
#pragma once

struct ScreenFactory;

void RegisterMenuScreens(ScreenFactory& factory);
