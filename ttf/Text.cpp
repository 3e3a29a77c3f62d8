#include "Text.hpp"

int text_system_startup()
{
    return 0;
}

void text_system_shutdown()
{
}
