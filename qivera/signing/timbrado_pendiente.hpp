#pragma once
#include <optional>
#include <string>
#include <vector>

#include "kx204/host/connection.hpp"

namespace qivera {

// An invoice's sealed CFDI: waiting for its stamp in Timbrado_Pendiente, then kept in Comprobante_Digital.
struct Comprobante {
    std::string folio, fecha, uuid, cadenaOriginal, sello, certificado, archivo, xml, noCertificado;
    bool timbrado = false;
};

// Stamping is done in steps that each end in the database, so that a failure or a kill between any two
// leaves something a retry finishes: the sealed XML is recorded and committed (RegistraPendiente), the
// provider is asked with no transaction open, and its answer is kept with the pending row gone in one
// transaction (GuardaComprobante). A retry sends the same sealed XML, which a provider stamps once.

// The invoice's sealed CFDI still waiting for its stamp, if any.
std::optional<Comprobante> LeePendiente(kx204::host::Connection& conexion, const std::string& folio);
void RegistraPendiente(kx204::host::Connection& conexion, const Comprobante& comprobante);
// Forgets the sealed XML the provider refused, so that the next try seals the invoice anew.
void DescartaPendiente(kx204::host::Connection& conexion, const std::string& folio);
// Notes why the last try failed, for whoever retries; never raises, as the failure itself is what matters.
void AnotaFallo(kx204::host::Connection& conexion, const std::string& folio, const std::string& motivo) noexcept;
// Keeps the provider's answer, with the intent to cancel what a stamped replacement replaces.
void GuardaComprobante(kx204::host::Connection& conexion, const Comprobante& comprobante);
// The folios of the invoices of `sucursal` (all branches when empty) waiting for their stamp, in order.
std::vector<std::string> FoliosPendientes(kx204::host::Connection& conexion, const std::string& sucursal);

}  // namespace qivera
