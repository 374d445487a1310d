#pragma once

/** The application's commands, as the command manager knows them. */
enum CommandIDs
{
    convertCommand       = 0x200040,
    quitCommand          = 0x200050,
    aboutCommand         = 0x200060,
    minimizeCommand      = 0x200410,
    bringToFrontCommand  = 0x200420,
    openUserGuideCommand = 0x200510
};
