#pragma once
// Which key does what in the entry fields: the five key-down handlers as one table.

// Platform virtual-key codes of the keys the fields react to.
enum VirtualKey : int {
    VK_RETURN = 13,
    VK_UP = 38,
    VK_F1 = 112,
    VK_F2 = 113,
    VK_F5 = 116,
    VK_F6 = 117,
    VK_F7 = 118,
    VK_F8 = 119,
    VK_F11 = 122
};

enum class KeyHandler { Form, Zip, Tel, G2, End };
enum class KeyAction {
    None,
    Exit,
    FocusPrevious,
    Preview,
    History,
    PrinterSetup,
    Print,
    FocusNext,
    FocusG1,
    OrderQueue,
    Help
};

// Modifiers are never looked at: Shift+F11 prints as F11 does.
KeyAction KeyDownAction(KeyHandler handler, int virtualKey);

// The function keys: they do the same from every control of the window, whether or not the control
// has a row of its own in the key table.
bool IsWindowKey(int virtualKey);
