// A clerk's whole invoice at the desktop, on the demo database: load the notes, tick them, take
// the client, accept, and preview the printed invoice. With KX204_CAPTURAS naming a folder, the
// window and the preview are saved there as PNG images along the way.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "qivera/db/base_datos.hpp"
#include "qivera/demo/inicializa.hpp"
#include "qivera/desktop/dialogo_eleccion.hpp"
#include "qivera/desktop/escritorio.hpp"
#include "qivera/desktop/vista_previa.hpp"
#include "qivera/script/persona_guionada.hpp"
#include "registro.hpp"

namespace {

using kx204::host::ComandoBarra;

// The PDF view draws its pages in the background: a picture of it waits for them.
void Captura(QWidget& widget, const char* nombre, int esperaMs = 0) {
    const QString carpeta = qEnvironmentVariable("KX204_CAPTURAS");
    if (carpeta.isEmpty()) return;
    QDir().mkpath(carpeta);
    if (esperaMs > 0) QTest::qWait(esperaMs);
    QVERIFY(widget.grab().save(carpeta + "/" + nombre));
}

// The chooser the desktop shows for the last question of kind `tipo` the host asked, as a picture.
void CapturaEleccion(const std::vector<nlohmann::ordered_json>& eventos, const std::string& tipo,
                     const char* nombre) {
    const auto pregunta = std::find_if(eventos.rbegin(), eventos.rend(), [&](const auto& evento) {
        return evento["event"] == "dialog" && evento["kind"] == tipo;
    });
    QVERIFY2(pregunta != eventos.rend(), tipo.c_str());
    QVERIFY2(pregunta->contains("descriptions"), pregunta->dump().c_str());
    auto eleccion = qivera::escritorio::CreaEleccion(tipo, (*pregunta)["args"], (*pregunta)["options"],
                                                     (*pregunta)["descriptions"]);
    eleccion->show();
    Captura(*eleccion, nombre);
}

class RecorridoTest : public QObject {
    Q_OBJECT

private slots:
    void AClerkInvoicesTheDemoNotesAndPreviewsThePrintedInvoice() {
        QTemporaryDir carpeta;
        const std::string url = "sqlite:" + carpeta.filePath("demo.db").toStdString();
        qivera::db::InicializaBaseDatos(url, true, 600);
        auto conexion = qivera::db::AbreBaseDatos(url);
        std::vector<nlohmann::ordered_json> eventos;
        qivera::PersonaGuionada persona([&](const nlohmann::ordered_json& evento) { eventos.push_back(evento); });
        qivera::escritorio::Escritorio escritorio(*conexion, "ADMIN", "demo.db", &persona);
        escritorio.sesion().fechaServidor = kx204::host::Date::FromYmd(2026, 3, 15);
        std::string impreso;
        const auto registra = escritorio.sesion().registra;
        escritorio.sesion().registra = [&](const std::string& evento, const std::string& folio,
                                           const std::string& archivo) {
            if (evento == "print") impreso = archivo;
            registra(evento, folio, archivo);
        };
        auto& ventana = escritorio.Ventana();
        ventana.SetVistaPrevia(false);
        escritorio.Abre();
        ventana.resize(1180, 760);
        const auto widget = [&](const char* nombre) { return ventana.Lienzo()->WidgetDe(nombre); };
        const auto pulsa = [&](ComandoBarra comando) { ventana.Barra()->Accion(comando)->trigger(); };

        pulsa(ComandoBarra::Nuevo);
        pulsa(ComandoBarra::B1);
        auto* tabla = qobject_cast<QTableView*>(widget("lvNotas"));
        QVERIFY(tabla->model()->rowCount() > 10);
        auto* marcarTodos = qobject_cast<QCheckBox*>(widget("chkMarcarTodos"));
        QTest::mouseClick(marcarTodos, Qt::LeftButton, {}, QPoint(8, marcarTodos->height() / 2));
        auto* consolidar = qobject_cast<QCheckBox*>(widget("chkConsolidar"));
        QTest::mouseClick(consolidar, Qt::LeftButton, {}, QPoint(8, consolidar->height() / 2));
        Captura(ventana, "notas.png");

        QTest::keyClick(tabla, Qt::Key_1, Qt::AltModifier);
        persona.Responde("01");  // the delivery address
        QTest::keyClicks(widget("txt_Cl_Cve_Cliente"), "c0001");
        QTest::keyClick(widget("txt_Cl_Cve_Cliente"), Qt::Key_Return);
        qobject_cast<QLineEdit*>(widget("txtCondicionVenta"))->selectAll();  // replaces the client's own
        QTest::keyClicks(widget("txtCondicionVenta"), "CONT");
        QTest::keyClick(widget("txtCondicionVenta"), Qt::Key_Return);
        Captura(ventana, "encabezado.png");
        CapturaEleccion(eventos, "direccion", "direccion.png");
        persona.Responde("PUE");
        qobject_cast<QAbstractButton*>(widget("cmdCuentaBancaria"))->click();
        CapturaEleccion(eventos, "metodo_pago", "metodo_pago.png");

        pulsa(ComandoBarra::Aceptar);
        for (const auto& evento : eventos) {
            const bool falla = evento["event"] == "message" && (evento["buttons"].get<int>() & 16) != 0;
            if (falla) QFAIL(evento.dump().c_str());
        }
        QVERIFY(!impreso.empty());

        qivera::escritorio::VistaPrevia vista(QString::fromStdString(impreso), &ventana);
        QVERIFY2(vista.Cargado(), qPrintable(vista.Error()));
        QVERIFY(vista.Paginas() >= 1);
        vista.resize(900, 1000);
        vista.show();
        Captura(vista, "factura.png", 2000);
    }
};

prueba::RegistraPrueba<RecorridoTest> registro;

}  // namespace

#include "recorrido_test.moc"
