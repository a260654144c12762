// The app's small rules of a first day: the saved slip's file name, the dialogs' folder keys, and the
// keys that work from every control.
#include "app/DialogFolders.h"
#include "app/KeyboardFlow.h"
#include "app/SlipPdfName.h"
#include "platform/ProfileFile.h"
#include "unit/support/Sjis.h"

#include <gtest/gtest.h>

TEST(SlipPdfName, DayAndConsigneeWithoutWhatAFileNameCannotHold) {
    const struct {
        const char* consignee;
        int copy;
        const char* name;
    } cases[] = {
        {"山田 太郎", 1, "送り状_2026-12-08_山田 太郎.pdf"},
        {"  山田/太郎\t様 ", 1, "送り状_2026-12-08_山田太郎様.pdf"},
        {"a:b*c?d\"e<f>g|h\\i", 1, "送り状_2026-12-08_abcdefghi.pdf"},
        {"..hidden", 1, "送り状_2026-12-08_hidden.pdf"},
        {"", 1, "送り状_2026-12-08.pdf"},
        {"/ \\", 1, "送り状_2026-12-08.pdf"},
        {"山田", 3, "送り状_2026-12-08_山田 (3).pdf"},
        // 表, ソ and 圭 end in 0x5C, ポ in 0x7C: characters, not separators.
        {"表ソ圭ポ", 1, "送り状_2026-12-08_表ソ圭ポ.pdf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SlipPdfFileName("2026/12/08", Cp932FromUtf8(c.consignee), c.copy), Cp932FromUtf8(c.name))
            << c.consignee;
}

TEST(SlipPdfName, LongConsigneeIsCutOnACharacterBoundary) {
    std::string name;
    for (int i = 0; i < 60; ++i)
        name += Cp932FromUtf8("あ");
    const std::string file = SlipPdfFileName("2026/12/08", "x" + name);
    const std::string prefix = Cp932FromUtf8("送り状_2026-12-08_");
    ASSERT_EQ(file.substr(0, prefix.size()), prefix);
    EXPECT_EQ(file.substr(prefix.size()), "x" + name.substr(0, 78) + ".pdf"); // 80 bytes: x and 39 characters
}

TEST(DialogFolders, EachDialogKeepsItsOwnFolderTheOrderFileWhereItAlwaysWas) {
    ProfileFile f = ProfileFile::FromBytes("x.ini", "[OrderQueue]\r\nFolder=/old/orders\r\n");
    EXPECT_EQ(ReadDialogFolder(f, FileDialogKind::OrderFile), "/old/orders");
    EXPECT_EQ(ReadDialogFolder(f, FileDialogKind::ShippedList), "");
    WriteDialogFolder(f, FileDialogKind::ShippedList, "/home/u/lists");
    EXPECT_EQ(ReadDialogFolder(f, FileDialogKind::OrderFile), "/old/orders");
    EXPECT_EQ(ReadDialogFolder(f, FileDialogKind::ShippedList), "/home/u/lists");
}

TEST(KeyboardFlow, FunctionKeysDoTheSameFromEveryFieldAndF1OpensTheHelp) {
    for (VirtualKey key : {VK_F1, VK_F2, VK_F5, VK_F6, VK_F7, VK_F8, VK_F11}) {
        EXPECT_TRUE(IsWindowKey(key)) << key;
        for (KeyHandler h :
             {KeyHandler::Form, KeyHandler::Zip, KeyHandler::Tel, KeyHandler::G2, KeyHandler::End})
            EXPECT_EQ(KeyDownAction(h, key), KeyDownAction(KeyHandler::Form, key)) << key;
    }
    EXPECT_EQ(KeyDownAction(KeyHandler::Form, VK_F1), KeyAction::Help);
    for (int key : {int(VK_RETURN), int(VK_UP), 0, 114 /* F3 */})
        EXPECT_FALSE(IsWindowKey(key)) << key;
}
