#include "qivera/db/canal.hpp"

namespace qivera::db {

kx204::host::RuntimeError Canal::Falla(const QSqlError& error) {
    kx204::host::RuntimeError falla = limite.Error(error);
    if (alFallar) alFallar(falla);
    return falla;
}

void Canal::ExigeSinLecturas() const {
    if (lecturasAbiertas_ > 0)
        throw kx204::host::RuntimeError(kx204::host::errores::Database,
                                        "A statement was run while the rows of another were still being read on "
                                        "the same connection (" +
                                            ultimaLectura_.substr(0, 80) +
                                            "): read them to the end or close them first.");
}

}  // namespace qivera::db
