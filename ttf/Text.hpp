#pragma once

// TrueType text renderer (being written): start and stop of the font library.
int text_system_startup();
void text_system_shutdown();
