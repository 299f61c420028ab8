// The dialogs through which the desktop asks a person things, driven as a person would.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPainter>
#include <QPdfView>
#include <QPdfWriter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "apoyo/entorno.hpp"
#include "qivera/desktop/caja_mensaje.hpp"
#include "qivera/desktop/dialogo_acceso.hpp"
#include "qivera/desktop/dialogo_campos_adicionales.hpp"
#include "qivera/desktop/dialogo_columnas.hpp"
#include "qivera/desktop/dialogo_eleccion.hpp"
#include "qivera/desktop/persona_qt.hpp"
#include "qivera/desktop/registro.hpp"
#include "qivera/desktop/vista_previa.hpp"
#include "qivera/sesion/acceso.hpp"

using namespace qivera::escritorio;

namespace {

QAbstractButton* BotonConTexto(QWidget* ventana, const QString& texto) {
    for (auto* boton : ventana->findChildren<QAbstractButton*>())
        if (boton->text() == texto) return boton;
    return nullptr;
}

// Acts on the next modal window once exec() has shown it, as the person in front of it would.
void AlAbrirse(std::function<void(QWidget*)> accion) {
    auto* reloj = new QTimer;
    QObject::connect(reloj, &QTimer::timeout, [reloj, accion] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        reloj->stop();
        reloj->deleteLater();
        accion(modal);
    });
    reloj->start(0);
}

// A missing button fails the test and still closes the window, so a modal exec() cannot hang.
void Pulsa(QWidget* ventana, const QString& texto) {
    if (QAbstractButton* boton = BotonConTexto(ventana, texto)) return boton->click();
    QTest::qFail(qPrintable("falta el botón " + texto), __FILE__, __LINE__);
    ventana->close();
}

int EscapeEn(QMessageBox& caja) {
    caja.show();
    QTest::keyClick(&caja, Qt::Key_Escape);
    return RespuestaCaja(caja);
}

}  // namespace

class DialogosTest : public QObject {
    Q_OBJECT
private slots:
    void cajaMensajeTraduceBotonesIconoYRespuesta();
    void eleccionFiltraPreseleccionaYResponde();
    void columnasRespondeLasMarcadas();
    void camposAdicionalesSoloGrabaAlAceptar();
    void vistaPreviaCargaPdfOExplicaPorQueNo();
    void personaQtContestaConLoQueSeEligio();
    void accesoMuestraElRechazoYEntraConLaClave();
};

void DialogosTest::cajaMensajeTraduceBotonesIconoYRespuesta() {
    // The delete confirmation: Yes/No, question, No by default; Escape must not delete.
    auto confirma = CajaMensaje("¿Eliminar la factura?", 4 + 32 + 256, "Facturación", "");
    QCOMPARE(confirma->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(confirma->icon(), QMessageBox::Question);
    QCOMPARE(confirma->defaultButton(), confirma->button(QMessageBox::No));
    QCOMPARE(confirma->button(QMessageBox::Yes)->text(), QString("Sí"));
    QCOMPARE(EscapeEn(*confirma), 7);
    confirma->button(QMessageBox::Yes)->click();
    QCOMPARE(RespuestaCaja(*confirma), 6);

    // A lone OK answers 1 however it is closed; the prompt stays plain text and the ERR-ID is shown.
    auto aviso = CajaMensaje("Línea 1\r\n<b>Línea 2</b>", 16, "Error", "ERR-ID:7500012");
    QCOMPARE(aviso->standardButtons(), QMessageBox::Ok);
    QCOMPARE(aviso->icon(), QMessageBox::Critical);
    QCOMPARE(aviso->text(), QString("Línea 1\n<b>Línea 2</b>"));
    QCOMPARE(aviso->textFormat(), Qt::PlainText);
    QVERIFY(aviso->informativeText().contains("ERR-ID:7500012"));
    QCOMPARE(EscapeEn(*aviso), 1);
}

void DialogosTest::eleccionFiltraPreseleccionaYResponde() {
    auto busqueda = CreaEleccion("registro", {"Clientes", ""}, {"CL001", "CL002", "MX100", "ZZ9"});
    busqueda->show();
    QVERIFY(busqueda->Filtro() != nullptr);
    QTest::keyClicks(busqueda->Filtro(), "cl");
    QCOMPARE(busqueda->Visibles(), 2);
    QCOMPARE(busqueda->Actual(), std::string("CL001"));
    // The arrows move the list while typing.
    QTest::keyClick(busqueda->Filtro(), Qt::Key_Down);
    QCOMPARE(busqueda->Actual(), std::string("CL002"));
    QTest::keyClicks(busqueda->Filtro(), "x");
    QCOMPARE(busqueda->Visibles(), 0);
    QCOMPARE(busqueda->Actual(), std::string());
    busqueda->Filtro()->setText("mx");
    QCOMPARE(busqueda->Actual(), std::string("MX100"));
    QCOMPARE(busqueda->Elegido(), std::string());  // not chosen yet
    QTest::keyClick(busqueda->Filtro(), Qt::Key_Return);
    QCOMPARE(busqueda->result(), int(QDialog::Accepted));
    QCOMPARE(busqueda->Elegido(), std::string("MX100"));

    // An option shows what it is beside it; the answer is still the option.
    auto direccion =
        CreaEleccion("direccion", {"Clientes", "C1", "D2"}, {"D1", "D2", "D3"}, {"Av. Reforma 12", "Calle Sur 3", ""});
    QCOMPARE(direccion->Actual(), std::string("D2"));
    QCOMPARE(direccion->Lista()->currentIndex().data().toString(), QStringLiteral("D2 — Calle Sur 3"));
    QCOMPARE(direccion->Lista()->model()->index(2, 0).data().toString(), QStringLiteral("D3"));
    direccion->reject();
    QCOMPARE(direccion->Elegido(), std::string());

    auto metodo = CreaEleccion("metodo_pago", {"C1", "BAJA"}, {"EF", "TR"});
    QCOMPARE(metodo->Actual(), std::string("EF"));
    metodo->Lista()->setCurrentIndex(metodo->Lista()->model()->index(1, 0));
    metodo->accept();
    QCOMPARE(metodo->Elegido(), std::string("TR"));
}

void DialogosTest::columnasRespondeLasMarcadas() {
    DialogoColumnas todas({"Folio", "Fecha", "Total"}, {});
    todas.Lista()->item(1)->setCheckState(Qt::Unchecked);
    todas.accept();
    QCOMPARE(todas.Elegidas(), std::string("Folio|Total"));

    const ArgumentosColumnas argumentos = SeparaColumnas({"Folio", "Fecha", "Total", kMarcaVisibles, "Total"});
    DialogoColumnas algunas(argumentos.captions, argumentos.visibles);
    QCOMPARE(algunas.Lista()->count(), 3);
    QCOMPARE(algunas.Lista()->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(algunas.Lista()->item(2)->checkState(), Qt::Checked);
    // With nothing checked the list would have no column: the dialog stays open.
    algunas.Lista()->item(2)->setCheckState(Qt::Unchecked);
    algunas.accept();
    QCOMPARE(algunas.Elegidas(), std::string());
    algunas.Lista()->item(0)->setCheckState(Qt::Checked);
    algunas.reject();
    QCOMPARE(algunas.Elegidas(), std::string());
}

void DialogosTest::camposAdicionalesSoloGrabaAlAceptar() {
    const std::map<std::string, std::string> original{{"Color", "Rojo"}, {"Nota", "a\r\nb"}};
    auto edita = [](DialogoCamposAdicionales& dialogo) {
        dialogo.Tabla()->item(0, 1)->setText("Azul");
        dialogo.AgregaRenglon("Talla", "M");
        dialogo.AgregaRenglon();  // left blank: not a field
    };

    std::map<std::string, std::string> valores = original;
    DialogoCamposAdicionales cancelado(valores);
    edita(cancelado);
    cancelado.reject();
    QCOMPARE(valores, original);

    DialogoCamposAdicionales aceptado(valores);
    edita(aceptado);
    aceptado.Tabla()->setCurrentCell(1, 0);
    aceptado.Tabla()->clearSelection();
    aceptado.QuitaRenglon();  // "Nota"
    aceptado.accept();
    QCOMPARE(valores, (std::map<std::string, std::string>{{"Color", "Azul"}, {"Talla", "M"}}));

    // A field named twice cannot be stored: nothing is written and the reason is shown.
    DialogoCamposAdicionales repetido(valores);
    repetido.AgregaRenglon(" Color ", "Verde");
    repetido.accept();
    QVERIFY(repetido.result() != QDialog::Accepted);
    QVERIFY(repetido.Error().contains("Color"));
    QCOMPARE(valores.at("Color"), std::string("Azul"));
}

void DialogosTest::vistaPreviaCargaPdfOExplicaPorQueNo() {
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath("factura.pdf");
    {
        QPdfWriter escritor(ruta);
        QPainter pintor(&escritor);
        for (int pagina = 1; pagina <= 3; ++pagina) {
            if (pagina > 1) escritor.newPage();
            pintor.drawText(200, 200, QString("Página %1").arg(pagina));
        }
    }
    VistaPrevia vista(ruta);
    vista.show();
    QVERIFY2(vista.Cargado(), qPrintable(vista.Error()));
    QCOMPARE(vista.Paginas(), 3);
    QVERIFY(std::ranges::any_of(vista.findChildren<QLabel*>(),
                                [](const QLabel* rotulo) { return rotulo->text() == "Página 1 de 3"; }));
    Pulsa(&vista, "Acercar");
    QCOMPARE(vista.Vista()->zoomMode(), QPdfView::ZoomMode::Custom);
    Pulsa(&vista, "Ajustar al ancho");
    QCOMPARE(vista.Vista()->zoomMode(), QPdfView::ZoomMode::FitToWidth);

    const QString basura = carpeta.filePath("basura.pdf");
    QFile archivo(basura);
    QVERIFY(archivo.open(QIODevice::WriteOnly));
    archivo.write("esto no es un PDF");
    archivo.close();
    VistaPrevia mala(basura);
    mala.show();
    QVERIFY(!mala.Cargado());
    QCOMPARE(mala.Paginas(), 0);
    QVERIFY(mala.Error().contains("basura.pdf"));
    QVERIFY(!BotonConTexto(&mala, "Acercar")->isEnabled());

    VistaPrevia ausente(carpeta.filePath("no_existe.pdf"));
    QVERIFY(ausente.Error().contains("no existe"));
    QVERIFY(!BotonConTexto(&ausente, "Abrir con el visor del sistema")->isEnabled());
}

void DialogosTest::personaQtContestaConLoQueSeEligio() {
    QWidget ventana;
    PersonaQt persona(&ventana);

    // The dialogs' own answers are checked above: here they are shown modally and their answers returned.
    AlAbrirse([](QWidget* caja) { Pulsa(caja, "No"); });
    QCOMPARE(persona.Mensaje("¿Eliminar?", 4 + 32, "Eliminar", ""), 7);
    AlAbrirse([](QWidget* dialogo) { Pulsa(dialogo, "Aceptar"); });
    QCOMPARE(persona.Elige("metodo_pago", {"C1", "TR"}, {"EF", "TR"}), std::string("TR"));
    const QWidget* dueno = nullptr;
    AlAbrirse([&dueno](QWidget* dialogo) {
        dueno = dialogo->parentWidget();
        Pulsa(dialogo, "Cerrar");
    });
    persona.Muestra("visor", {"Cliente", "Cl_Cve_Cliente", "C1"}, {});
    QCOMPARE(dueno, &ventana);
}

void DialogosTest::accesoMuestraElRechazoYEntraConLaClave() {
    prueba::Entorno entorno;
    // A user without a password named on the command line goes straight in.
    QCOMPARE(IniciaSesion(*entorno.conexion, std::string("ADMIN")), std::optional<std::string>("ADMIN"));

    qivera::GuardaClave(*entorno.conexion, "ADMIN", "clave");
    DialogoAcceso dialogo(*entorno.conexion, QStringLiteral("ADMIN"));
    dialogo.show();
    dialogo.CampoClave().setText(QStringLiteral("otra"));
    Pulsa(&dialogo, QStringLiteral("Entrar"));
    QVERIFY(dialogo.isVisible());
    QCOMPARE(dialogo.Motivo(), QStringLiteral("La contraseña de «ADMIN» no es correcta."));
    QCOMPARE(dialogo.CampoClave().text(), QString());
    QCOMPARE(dialogo.CampoClave().echoMode(), QLineEdit::Password);
    dialogo.CampoClave().setText(QStringLiteral("clave"));
    Pulsa(&dialogo, QStringLiteral("Entrar"));
    QCOMPARE(dialogo.result(), int(QDialog::Accepted));
    QCOMPARE(dialogo.Usuario(), QStringLiteral("ADMIN"));

    // A failing database is told in the window, which stays open.
    entorno.Sql("DROP TABLE Permiso");
    DialogoAcceso averiado(*entorno.conexion, QStringLiteral("ADMIN"));
    averiado.show();
    averiado.CampoClave().setText(QStringLiteral("clave"));
    Pulsa(&averiado, QStringLiteral("Entrar"));
    QVERIFY(averiado.isVisible());
    QVERIFY(averiado.Motivo().startsWith(QStringLiteral("No se pudo comprobar el acceso: ")));

    // Named but with a password: the window asks for it, and closing it signs nobody in.
    AlAbrirse([](QWidget* ventana) { Pulsa(ventana, QStringLiteral("Cancelar")); });
    QCOMPARE(IniciaSesion(*entorno.conexion, std::string("ADMIN")), std::nullopt);
}

static prueba::RegistraPrueba<DialogosTest> registro;

#include "dialogos_test.moc"
