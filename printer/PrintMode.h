#pragma once
// How a slip reaches the printer: as graphics, a PDF page the queue's driver turns into bitmap bands, or
// as text, a byte stream in the printer's own language and characters that passes the driver by
// (docs/escp.md). Chosen per slip type at registration.
enum class PrintMode { Graphics, Text };
