#include "app/KeyboardFlow.h"

KeyAction KeyDownAction(KeyHandler h, int vk) {
    switch (vk) {
    case VK_F1:
        return KeyAction::Help;
    case VK_F2:
        return KeyAction::Exit;
    case VK_UP:
        // Up in the postcode field would leave the window's first field: it stays put.
        return h == KeyHandler::Zip ? KeyAction::None : KeyAction::FocusPrevious;
    case VK_F5:
        return KeyAction::Preview;
    case VK_F6:
        return KeyAction::History;
    case VK_F7:
        return KeyAction::PrinterSetup;
    case VK_F8:
        return KeyAction::OrderQueue;
    case VK_F11:
        return KeyAction::Print;
    case VK_RETURN:
        switch (h) {
        case KeyHandler::Tel:
            return KeyAction::FocusG1; // past the date check box and the date
        case KeyHandler::End:
            return KeyAction::None; // the pieces field ends the Enter path
        default:
            return KeyAction::FocusNext;
        }
    default:
        return KeyAction::None;
    }
}

bool IsWindowKey(int vk) {
    switch (vk) {
    case VK_F1:
    case VK_F2:
    case VK_F5:
    case VK_F6:
    case VK_F7:
    case VK_F8:
    case VK_F11:
        return true;
    default:
        return false;
    }
}
