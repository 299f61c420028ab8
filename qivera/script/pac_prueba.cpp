#include "qivera/script/pac_prueba.hpp"

#include <QDateTime>
#include <QUuid>
#include <iterator>
#include <set>

#include "kx204/host/runtime_error.hpp"
#include "qivera/signing/timbrador_prueba.hpp"

namespace qivera {

namespace {

// The SAT's reasons to cancel: 01 with a replacement, 02 with errors, 03 not carried out, 04 a global
// invoice's nominative operation.
bool MotivoValido(const std::string& motivo) {
    static const std::set<std::string> kMotivos{"01", "02", "03", "04"};
    return kMotivos.count(motivo) != 0;
}

kx204::host::Date Ahora() {
    const QDateTime ahora = QDateTime::currentDateTime();
    return kx204::host::Date::FromYmd(ahora.date().year(), ahora.date().month(), ahora.date().day(),
                                      ahora.time().hour(), ahora.time().minute(), ahora.time().second());
}

std::string Opcion(const Argumentos& args, const std::string& nombre) {
    return args.Tiene(nombre) ? args.opciones.at(nombre) : std::string();
}

// Answers as the SAT does: cancelled, in process (the receiver must accept) or refused.
int Cancela(const Argumentos& args, std::ostream& salida, std::ostream& errores) {
    if (args.posicionales.size() < 4) throw ErrorDeUso("cancelar takes UUID RFC MOTIVO [SUSTITUTO]");
    const std::string &uuid = args.posicionales[1], &motivo = args.posicionales[3];
    const std::string pedida = args.Tiene("--cancelacion") ? args.opciones.at("--cancelacion") : "cancelado";
    if (pedida != "cancelado" && pedida != "en_proceso" && pedida != "rechazado")
        throw ErrorDeUso("option --cancelacion takes cancelado, en_proceso or rechazado, not: " + pedida);
    if (QUuid::fromString(QString::fromStdString(uuid)).isNull()) {
        errores << "qivera: el UUID no es válido: " << uuid << "\n";
        return 1;
    }
    if (!MotivoValido(motivo)) {
        errores << "qivera: el motivo de cancelación no es 01, 02, 03 ni 04: " << motivo << "\n";
        return 1;
    }
    const bool conSustituto = args.posicionales.size() == 5;
    if ((motivo == "01") != conSustituto) {
        errores << "qivera: el motivo 01, y solo ese, lleva el UUID que sustituye al cancelado\n";
        return 1;
    }
    const std::string sustituto = conSustituto ? args.posicionales[4] : std::string();
    const std::string respuesta = CancelaPrueba(uuid, motivo, sustituto, pedida, Opcion(args, "--libro"));
    if (respuesta == "rechazado") {
        errores << "qivera: el SAT rechazó la cancelación de " << uuid << "\n";
        return 1;
    }
    salida << respuesta << " " << uuid << " motivo " << motivo << "\n";
    return 0;
}

}  // namespace

int EjecutaPacPrueba(const Argumentos& args, std::istream& entrada, std::ostream& salida, std::ostream& errores) {
    const std::string& accion = args.posicionales[0];
    if (accion == "cancelar") return Cancela(args, salida, errores);
    if (accion != "timbrar" || args.posicionales.size() != 1)
        throw ErrorDeUso("pac-prueba takes timbrar, or cancelar UUID RFC MOTIVO");
    const std::string xml{std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>()};
    try {
        salida << TimbraPrueba(xml, Ahora(), Opcion(args, "--libro"));
    } catch (const kx204::host::RuntimeError& error) {
        errores << error.description << "\n";
        return 1;
    }
    return 0;
}

}  // namespace qivera
