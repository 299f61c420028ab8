#pragma once
#include <optional>

#include "kx204/host/servicios.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// objInterfaz: catalogs, dates, templates and the form's groups, over the database.
class InterfazQivera : public kx204::host::Interfaz {
public:
    explicit InterfazQivera(Sesion& sesion) : sesion_(sesion) {}

    std::string BuscaCatalogo(const std::string& tabla, const std::string& campoClave, const std::string& clave,
                              const std::string& campoDescripcion, bool* encontrado, const std::string& campoClave2,
                              const std::string& clave2, const std::string& estadoExcluido) override;
    std::string CondicionVentaCliente(const std::string& cliente, const std::string& sucursal, int opcion) override;
    std::string UltimoError() override { return ultimoError_; }
    std::string ObtenConsulta(const std::string& nombre) override;
    std::string ObtenTransaccion(const std::string& transaccion, const std::string& producto) override;
    kx204::host::Date FechaServidor() override;
    std::string FechaSQL(const kx204::host::Date& fecha) override { return fecha.ToIso(); }
    std::string FechaHoraSQL(const kx204::host::Date& fecha) override { return fecha.ToIsoDateTime(); }
    double TipoCambio(const std::string& moneda, const kx204::host::Date& fecha) override;
    void LimpiaControles(kx204::host::Formulario& forma, int grupo) override { forma.LimpiaGrupo(grupo); }
    void HabilitaControles(kx204::host::Formulario& forma, int grupo) override { forma.HabilitaGrupo(grupo); }
    void EnviaTecla(const std::string& teclas, int opcion, const std::string& argumento) override;
    bool EsSerieDigital(const std::string& serie, int opcion) override;
    std::string FormatoImpresion(const std::string& cliente, const std::string& sucursal) override;
    bool ValidaPeriodoOperativo(const kx204::host::Date& fecha, const std::string& modulo, int opcion) override;
    bool LlenaLista(const std::string& sentencia, kx204::host::Lista& lista, bool encabezados) override;
    bool AgregaALista(const std::string& sentencia, kx204::host::Lista& lista, const std::string& clave,
                      bool encabezados) override;
    std::string SeleccionaRegistro(const std::string& consulta, int opcion, const std::string& condicion) override;
    bool AccionLista(kx204::host::Lista& lista) override;
    bool AccionListaAlterna(kx204::host::Lista& lista) override;
    std::string ReferenciaRenglon(const std::string& tabla, const std::string& folio, const std::string& id) override;
    bool RelacionaRenglon(const std::string& tabla, const std::string& folio, const std::string& renglon,
                          const std::string& referencia) override;
    std::string NormalizaFolio(const std::string& folio) override;

private:
    Sesion& sesion_;
    std::string ultimoError_;
    std::optional<db::SentenciaPreparada> relacion_;  // see RelacionaRenglon
};

}  // namespace qivera
