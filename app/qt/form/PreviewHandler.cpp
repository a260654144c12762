// F5: the preview of the slip as F11 would print it.
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/print/PreviewWindow.h"

#include <memory>

void TForm_Main::SpeedButton_F5Click() {
    auto preview = std::make_unique<TForm_Preview>(*this);
    preview->Refresh();
    preview.release()->open(); // deletes itself on closing
}
