// The Quimera library in one include.
//
// The six classes are plain objects that never throw from their working members (failures
// go to the error manager); they work on the ADO handles the client passes in, on one
// thread at a time (see each header).
#pragma once

#include "quimera/ControlDialogo.h"
#include "quimera/ControlGrabador.h"
#include "quimera/ControlSinUsuario.h"
#include "quimera/ControlTerminal.h"
#include "quimera/Enumeraciones.h"
#include "quimera/Eventos.h"
#include "quimera/MostrarDialogoMensaje.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/clsCampo.h"
#include "quimera/clsCampos.h"
#include "quimera/clsDatosAvanzado.h"
#include "quimera/clsSQL.h"
#include "quimera/clsTransacciones.h"
