#include "qivera/desktop/persona_qt.hpp"

#include <QDir>
#include <QFileDialog>

#include "qivera/desktop/caja_mensaje.hpp"
#include "qivera/desktop/dialogo_columnas.hpp"
#include "qivera/desktop/dialogo_comun.hpp"
#include "qivera/desktop/dialogo_eleccion.hpp"
#include "qivera/desktop/dialogo_registro.hpp"

namespace qivera::escritorio {

namespace {

std::string Argumento(const std::vector<std::string>& args, std::size_t i) {
    return i < args.size() ? args[i] : std::string();
}

}  // namespace

int PersonaQt::Mensaje(const std::string& prompt, int botones, const std::string& titulo, const std::string& id) {
    const auto caja = CajaMensaje(prompt, botones, titulo, id, padre_);
    caja->exec();
    return RespuestaCaja(*caja);
}

std::string PersonaQt::Elige(const std::string& tipo, const std::vector<std::string>& args,
                             const std::vector<std::string>& opciones, const std::vector<std::string>& descripciones) {
    if (tipo == "exportar") return RutaExportacion(Argumento(args, 0));
    if (tipo == "columnas") {
        const ArgumentosColumnas columnas = SeparaColumnas(args);
        DialogoColumnas dialogo(columnas.captions, columnas.visibles, padre_);
        dialogo.exec();
        return dialogo.Elegidas();
    }
    const auto dialogo = CreaEleccion(tipo, args, opciones, descripciones, padre_);
    dialogo->exec();
    return dialogo->Elegido();
}

void PersonaQt::Muestra(const std::string& tipo, const std::vector<std::string>& args,
                        const std::vector<std::string>& contenido) {
    if (tipo == "visor") {
        DialogoRegistro(Argumento(args, 0), Argumento(args, 1), Argumento(args, 2), contenido, padre_).exec();
        return;
    }
    DialogoRegistro(TextoQt(tipo), QString(), contenido, QStringLiteral("No hay nada que mostrar."), padre_).exec();
}

std::string PersonaQt::RutaExportacion(const std::string& nombreLista) {
    const QString nombre = nombreLista.empty() ? QStringLiteral("lista") : TextoQt(nombreLista);
    QFileDialog dialogo(padre_, QStringLiteral("Exportar a CSV"), QDir::home().filePath(nombre + ".csv"),
                        QStringLiteral("CSV (*.csv)"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setLabelText(QFileDialog::LookIn, QStringLiteral("Guardar en:"));
    dialogo.setLabelText(QFileDialog::FileName, QStringLiteral("Nombre:"));
    dialogo.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
    dialogo.setLabelText(QFileDialog::Accept, QStringLiteral("Guardar"));
    dialogo.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return {};
    return RutaCsv(dialogo.selectedFiles().front());
}

std::string RutaCsv(const QString& elegida) {
    if (elegida.isEmpty()) return {};
    const bool conExtension = elegida.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    return TextoStd(conExtension ? elegida : elegida + QStringLiteral(".csv"));
}

}  // namespace qivera::escritorio
