#pragma once
class QDateEdit;
class QWidget;

// A day field of the history window: today, "yyyy/MM/dd", with a calendar.
QDateEdit* DayEdit(QWidget* parent);
