#pragma once
#include <QMessageBox>
#include <memory>
#include <string>

namespace qivera::escritorio {

// A message box configured from a VB MsgBox style: the low nibble picks the buttons (0 OK,
// 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel), 16/32/48/64 the
// icon, 0/256/512 the default button. `id` (an ERR-ID) is shown small so the clerk can quote it.
std::unique_ptr<QMessageBox> CajaMensaje(const std::string& prompt, int botones, const std::string& titulo,
                                         const std::string& id, QWidget* padre = nullptr);

// The VB value of the button that closed `caja` (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore,
// 6 Yes, 7 No); a box closed without a click answers as its Escape button.
int RespuestaCaja(const QMessageBox& caja);

}  // namespace qivera::escritorio
