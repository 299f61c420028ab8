#include "qivera/printing/legible.hpp"

#include <QLocale>
#include <regex>

#include "kx204/host/date.hpp"
#include "kx204/host/runtime_error.hpp"

namespace qivera {

using kx204::host::Currency;

QString ImporteLegible(Currency importe) {
    const std::int64_t escalado = importe.Scaled();
    const std::uint64_t magnitud = escalado < 0 ? 0 - static_cast<std::uint64_t>(escalado) : escalado;
    const std::uint64_t centavos = magnitud / 100 + (magnitud % 100 >= 50 ? 1 : 0);
    return QStringLiteral("%1%2.%3")
        .arg(escalado < 0 && centavos > 0 ? "-" : "")
        .arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(static_cast<qulonglong>(centavos / 100)))
        .arg(static_cast<qulonglong>(centavos % 100), 2, 10, QChar('0'));
}

QString DineroLegible(Currency importe) {
    const QString importeLegible = ImporteLegible(importe);
    return importeLegible.startsWith('-') ? "-$" + importeLegible.mid(1) : "$" + importeLegible;
}

std::optional<QString> FechaLegible(const std::string& fecha) {
    static const std::regex kFecha(R"(\d{4}-\d{2}-\d{2}( 00:00:00(\.0+)?)?)");
    if (!std::regex_match(fecha, kFecha)) return std::nullopt;
    const auto dia = kx204::host::Date::Parse(fecha.substr(0, 10));
    if (!dia) return std::nullopt;
    return QString::fromStdString(dia->ToDdMmYyyy()).replace('-', '/');
}

std::optional<Currency> ImporteEnTexto(const std::string& texto) {
    static const std::regex kNumero(R"(-?\d{1,15}(\.\d{1,4})?)");
    if (!std::regex_match(texto, kNumero)) return std::nullopt;
    return Currency::Parse(texto);
}

}  // namespace qivera
