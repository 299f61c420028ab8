#include <dlfcn.h>
#include <gtest/gtest.h>

#include "apoyo/entorno.hpp"

// A host finds the component by the names of its plain entry points.
TEST(Entrada, HostLoadsTheLibraryAndObtainsTheScreen) {
    void* biblioteca = dlopen(KX204_BIBLIOTECA, RTLD_NOW);
    ASSERT_NE(biblioteca, nullptr) << dlerror();
    using Carga = kx204::Componente* (*)(kx204::host::Fabrica*);
    using Crea = kx204::Pantalla* (*)(kx204::Componente*);
    using Libera = void (*)(kx204::Pantalla*);
    using Descarga = void (*)(kx204::Componente*);
    auto carga = reinterpret_cast<Carga>(dlsym(biblioteca, "kx204_CargaComponente"));
    auto crea = reinterpret_cast<Crea>(dlsym(biblioteca, "kx204_CreaPantalla"));
    auto libera = reinterpret_cast<Libera>(dlsym(biblioteca, "kx204_LiberaPantalla"));
    auto descarga = reinterpret_cast<Descarga>(dlsym(biblioteca, "kx204_DescargaComponente"));
    ASSERT_TRUE(carga && crea && libera && descarga);

    prueba::Entorno entorno;
    kx204::Componente* componente = carga(&entorno.fabrica);
    EXPECT_EQ(carga(&entorno.fabrica), componente);  // loaded once per factory
    EXPECT_EQ(&componente->publico().fabrica, &entorno.fabrica);
    kx204::Pantalla* pantalla = crea(componente);
    EXPECT_EQ(pantalla->Modulo(), "VENTAS");
    kx204::frmKX204* forma = pantalla->GetPantalla();
    ASSERT_NE(forma, nullptr);
    libera(pantalla);

    // A second sign-in in the same process: its own factory, its own component and screen.
    {
        prueba::Entorno otro("CAJERO");
        kx204::Componente* segundo = carga(&otro.fabrica);
        ASSERT_NE(segundo, componente);
        EXPECT_EQ(&segundo->publico().fabrica, &otro.fabrica);
        EXPECT_EQ(segundo->publico().objServicios->Usuario(), "CAJERO");
        descarga(segundo);
    }
    descarga(componente);
    EXPECT_EQ(carga(nullptr), nullptr);
    dlclose(biblioteca);
}
