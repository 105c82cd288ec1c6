#pragma once
// The host application's global functions as the module calls them.
#include "framework/f_bgfs.h"
#include "framework/f_grmc.h"
#include "framework/f_log_operate.h"
#include "framework/f_msg.h"
#include "framework/f_qmbs_retu.h"
#include "framework/f_recorder_exist.h"
#include "framework/f_retu_czyauth.h"
#include "framework/f_retu_djxh.h"
#include "framework/f_retu_para.h"
#include "framework/f_sqlca.h"
#include "framework/session.h"
