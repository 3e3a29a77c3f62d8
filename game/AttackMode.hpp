#pragma once

// The two extra modes: one minigame played stage after stage at a rising
// level until the first lost stage, then the number of stages reached.
// kind 0 is the fire minigame, 1 the disk minigame; any other kind plays
// nothing and returns at once.
void runAttackMode(int kind);

// "STAGE n" for about one second. Reads no button.
void showStageCard(int stage);

// "TOTAL STAGES: n" until the action or the back button is pressed. A press
// still pending from the screen before does not close it.
void showTotalStages(int stage);
