#include "app/qt/history/DayEdit.h"

#include <QDate>
#include <QDateEdit>

QDateEdit* DayEdit(QWidget* parent) {
    auto* e = new QDateEdit(QDate::currentDate(), parent);
    e->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    e->setCalendarPopup(true);
    return e;
}
