// The postcode data in the main window: the address from a postcode, the postcode from an address,
// and the check of the one against the other. Nothing here ever stands in the way of a slip: without
// the data the window works as before and says so once.
#include "app/qt/common/HelpBar.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/postcode/PostcodeChoice.h"
#include "platform/qt/QtText.h"
#include "postcode/Check.h"
#include "postcode/Code.h"
#include "postcode/Messages.h"

#include <QCoreApplication>
#include <QLabel>

#include <sys/stat.h>

namespace {

// The file at `path` as it is now; an import puts a new file in its place.
std::string Stamp(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return path;
    return path + '\n' + std::to_string(st.st_dev) + ':' + std::to_string(st.st_ino) + ':' +
           std::to_string(st.st_mtim.tv_sec) + '.' + std::to_string(st.st_mtim.tv_nsec);
}

void ShowWarning(QLabel* label, const QString& text) {
    label->setText(text);
    label->setToolTip(text); // a long address runs past the label's end
}

} // namespace

void TForm_Main::BuildPostcode() {
    // Above the length warning, which takes two lines beside the postcode: both can show.
    Label_ZipWarning = new QLabel(Panel1);
    Label_ZipWarning->setObjectName(QStringLiteral("Label_ZipWarning"));
    Label_ZipWarning->setGeometry(130, 3, 548, 18);
    Label_ZipWarning->setFont(Label_Warning->font());
    Label_ZipWarning->setPalette(Label_Warning->palette());
    // The warning tells what was checked; once the postcode or the address is edited it no longer does.
    for (QLineEdit* e : {static_cast<QLineEdit*>(Edit_Zip), static_cast<QLineEdit*>(Edit_Add1),
                         static_cast<QLineEdit*>(Edit_Add2)})
        connect(e, &QLineEdit::textChanged, Label_ZipWarning, [this] { ShowWarning(Label_ZipWarning, {}); });
}

TForm_Main::PostcodeData TForm_Main::PostcodeIndex() {
    const std::string path =
        postcode::ChooseIndexPath(WorkingDir(), NativePath(QCoreApplication::applicationDirPath()));
    std::string stamp = Stamp(path);
    if (stamp != postcodeStamp_) {
        postcodeIndex_.Reset(path);
        postcodeStamp_ = std::move(stamp);
    }
    PostcodeData data{postcodeIndex_.Get(), {}};
    if (data.index) {
        const QString date = FromCp932(postcode::DataDateText(*data.index));
        Edit_Zip->setToolTip(date);
        Edit_MyZip->setToolTip(date);
    } else if (postcodeIndex_.TakeUnavailableNotice()) {
        data.unavailable = postcode::DataUnavailableText();
    }
    return data;
}

std::string TForm_Main::PostcodeToAddress(QWidget* zipField) {
    QLineEdit* add1 = nullptr;
    QLineEdit* add2 = nullptr;
    if (zipField == Edit_Zip) {
        add1 = Edit_Add1;
        add2 = Edit_Add2;
    } else if (zipField == Edit_MyZip) {
        add1 = Edit_MyADD1;
        add2 = Edit_MyADD2;
    } else {
        return {};
    }
    if (!add1->text().trimmed().isEmpty()) return {}; // what the user wrote is never replaced
    const auto code = postcode::NormalizeCode(Cp(static_cast<QLineEdit*>(zipField)));
    if (!code) return {};
    const PostcodeData data = PostcodeIndex();
    if (!data.index) return data.unavailable;
    const postcode::Index* index = data.index;
    const std::vector<postcode::Entry> entries = index->Lookup(*code);
    if (entries.empty()) return postcode::NotFoundText();

    // Rows that read alike are one choice.
    QStringList items;
    std::vector<const postcode::Entry*> choices;
    for (const postcode::Entry& e : entries) {
        const QString text = FromCp932(postcode::ChoiceText(e));
        if (items.contains(text)) continue;
        items << text;
        choices.push_back(&e);
    }
    const postcode::Entry* chosen = choices.front();
    if (choices.size() > 1) {
        const QString heading = QFromUtf8("〒") + FromCp932(postcode::FormatCode(*code)) +
                                QFromUtf8("　住所を選んで下さい（") +
                                FromCp932(postcode::DataDateText(*index)) + QFromUtf8("）");
        const int row = PostcodeChoice::Choose(zipField, heading, items);
        if (row < 0) return {};
        chosen = choices[static_cast<std::size_t>(row)];
    }
    SetCp(add1, postcode::AddressText(*chosen));
    if (chosen->business && !chosen->office.empty() && add2->text().trimmed().isEmpty())
        SetCp(add2, chosen->office);
    return {};
}

void TForm_Main::PostcodeAfterTransfer() {
    if (!Edit_Zip->text().trimmed().isEmpty()) {
        PostcodeCheck();
        return;
    }
    const std::string address = Cp(Edit_Add1) + Cp(Edit_Add2);
    if (address.empty()) return;
    const PostcodeData data = PostcodeIndex();
    if (!data.index) {
        if (!data.unavailable.empty()) Help().Say(FromCp932(data.unavailable));
        return;
    }
    const postcode::Index* index = data.index;
    const std::vector<std::string> codes = index->Find(address);
    if (codes.size() == 1) {
        SetCp(Edit_Zip, postcode::FormatCode(codes.front()));
        Help().Say(FromCp932(postcode::FilledFromAddressText()));
    } else if (codes.size() > 1) {
        ShowWarning(Label_ZipWarning, FromCp932(postcode::SeveralCodesWarning(codes)));
    }
}

QString TForm_Main::PostcodeCheck() {
    const std::string zip = Cp(Edit_Zip);
    if (!postcode::NormalizeCode(zip)) return {};
    const PostcodeData data = PostcodeIndex();
    if (!data.index) {
        if (!data.unavailable.empty()) Help().Say(FromCp932(data.unavailable));
        return {};
    }
    const postcode::Index* index = data.index;
    const QString line = FromCp932(
        postcode::MismatchWarning(postcode::CheckAddress(*index, zip, Cp(Edit_Add1) + Cp(Edit_Add2))));
    ShowWarning(Label_ZipWarning, line);
    return line;
}
