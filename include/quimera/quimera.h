// The Quimera library in one include.
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
