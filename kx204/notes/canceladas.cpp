// Notes cancelled or deleted by someone else after the list was loaded.
#include <unordered_set>

#include "kx204/host/runtime_error.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

std::string frmKX204::ExistenVentasCanceladas(const std::string& folios) {
    try {
        sSQL =
            "SELECT Vn_Folio, Es_Cve_Estado FROM Venta "
            " WHERE Venta.Vn_Folio IN (" +
            folios +
            ") "
            " AND ( Venta.Es_Cve_Estado = 'CA' OR Venta.Oper_Baja <> '' )";
        auto rs = objServicios().Conexion().Execute(sSQL);
        std::unordered_set<std::string> vistos;
        std::string encontrados;
        for (; !rs->Eof(); rs->MoveNext()) {
            const std::string folio = rs->Field("Vn_Folio").ToTextOrEmpty();
            if (!vistos.insert(folio).second) continue;
            if (!encontrados.empty()) encontrados += ", ";
            encontrados += folio;
        }
        rs->Close();
        if (encontrados.empty()) return {};
        const std::size_t cuenta = vistos.size();
        const std::string encabezado = cuenta > 1 ? "Se encontraron " + std::to_string(cuenta) + " ventas canceladas. "
                                                  : std::string("Se encontró 1 venta cancelada. ");
        return encabezado + "Debe filtrar de nuevo las ventas a facturar" + kSaltoLinea + "Folios: " + encontrados;
    } catch (const host::RuntimeError& error) {
        return std::string("ExistenVentasCanceladas() - ") + kSaltoLinea + error.description;
    }
}

}  // namespace kx204
