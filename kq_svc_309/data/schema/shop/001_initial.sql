-- Shop database, schema version 1: the tables and views of the repair-service
-- module, the master data they join, and the host tables of the framework.
--
-- Conventions (docs/schema.md): every table carries the company code cgsh;
-- text CHAR(n)/VARCHAR(n); longs and flags INTEGER; money and amounts
-- REAL(18,2), unit prices REAL(18,6), the odometer REAL(18,4); dates DATETIME
-- holding "yyyy-mm-dd hh:mm:ss", the absent date "1900-01-01 00:00:00"; blobs
-- BLOB. Columns default to '' / 0 / the absent date, never NULL.
-- The migration runner sets application_id and user_version.

-- ---------------------------------------------------------------- companies

-- One row per company (branch): the sign-in offers these; dywrq is the
-- company's current business date, dqsrq the default first date of queries.
CREATE TABLE kq_company (
  cgsh     CHAR(2)     NOT NULL PRIMARY KEY,
  cgsmc    VARCHAR(60) NOT NULL DEFAULT '',
  dywrq    DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  dqsrq    DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  ltybs    INTEGER     NOT NULL DEFAULT 0
);

-- ---------------------------------------------------------------- master data

-- Departments and workshop teams; czt/dwgrq: the team's current state and
-- expected completion time, kept up to date by the dispatch of the host.
CREATE TABLE sysc02 (
  cbmdm    CHAR(4)   NOT NULL,
  cbmmc    CHAR(20)  NOT NULL DEFAULT '',
  cbmsx    CHAR(1)   NOT NULL DEFAULT '0',
  lmjbmbs  INTEGER   NOT NULL DEFAULT 0,
  ltybs    INTEGER   NOT NULL DEFAULT 0,
  czt      CHAR(10)  NOT NULL DEFAULT '',
  dwgrq    DATETIME  NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (cbmdm, cgsh)
);

-- Staff; cssbmdm the department or team, cgrlbdm the staff category ('6' chief mechanic).
CREATE TABLE sysc03 (
  cgrdm    CHAR(3)   NOT NULL,
  cgrmc    CHAR(8)   NOT NULL DEFAULT '',
  cssbmdm  CHAR(4)   NOT NULL DEFAULT '',
  cgrlbdm  CHAR(2)   NOT NULL DEFAULT '',
  ltybs    INTEGER   NOT NULL DEFAULT 0,
  czt      CHAR(10)  NOT NULL DEFAULT '',
  dwgrq    DATETIME  NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (cgrdm, cgsh)
);

-- Staff categories.
CREATE TABLE sysc04 (
  cgrlbdm  CHAR(2)   NOT NULL,
  cgrlbmc  CHAR(20)  NOT NULL DEFAULT '',
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (cgrlbdm, cgsh)
);

-- Customers (owners and payers of work orders).
CREATE TABLE crmc01 (
  ckhdm    CHAR(18)  NOT NULL,
  ckhmc    CHAR(50)  NOT NULL DEFAULT '',
  ckhdz    CHAR(50)  NOT NULL DEFAULT '',
  cdh      CHAR(20)  NOT NULL DEFAULT '',
  cyb      CHAR(6)   NOT NULL DEFAULT '',
  ckhh     CHAR(30)  NOT NULL DEFAULT '',
  clxr     CHAR(8)   NOT NULL DEFAULT '',
  clxrdh   CHAR(20)  NOT NULL DEFAULT '',
  ltybs    INTEGER   NOT NULL DEFAULT 0,
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (ckhdm, cgsh)
);

-- Vehicle records with the vehicle's cumulative statistics.
CREATE TABLE crmc04 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  cgsh     CHAR(2)     NOT NULL,
  ckhdm    CHAR(18)    NOT NULL DEFAULT '',
  cdph     CHAR(17)    NOT NULL DEFAULT '',
  cpzh     CHAR(12)    NOT NULL DEFAULT '',
  cfdjh    CHAR(30)    NOT NULL DEFAULT '',
  ccxdm    CHAR(50)    NOT NULL DEFAULT '',
  ccp      CHAR(4)     NOT NULL DEFAULT '',
  ltybs    INTEGER     NOT NULL DEFAULT 0,
  ngs      REAL(18,2)  NOT NULL DEFAULT 0,
  nmfwxcs  INTEGER     NOT NULL DEFAULT 0,
  nbycs    INTEGER     NOT NULL DEFAULT 0,
  nwxcslj  INTEGER     NOT NULL DEFAULT 0,
  nljje    REAL(18,2)  NOT NULL DEFAULT 0
);
CREATE INDEX ix_crmc04_cdph ON crmc04 (cgsh, cdph);
CREATE INDEX ix_crmc04_cpzh ON crmc04 (cgsh, cpzh);

-- Vehicle models.
CREATE TABLE svcc04 (
  ccxdm    CHAR(50)  NOT NULL,
  ccxmc    CHAR(30)  NOT NULL DEFAULT '',
  ltybs    INTEGER   NOT NULL DEFAULT 0,
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (ccxdm, cgsh)
);

-- Labour-rate classes: lsygsdj <> 0 charges ngsdj per labour hour.
CREATE TABLE svcc03 (
  cgsde    CHAR(2)     NOT NULL,
  cgsdemc  CHAR(20)    NOT NULL DEFAULT '',
  lsygsdj  INTEGER     NOT NULL DEFAULT 0,
  ngsdj    REAL(18,6)  NOT NULL DEFAULT 0,
  ltybs    INTEGER     NOT NULL DEFAULT 0,
  cgsh     CHAR(2)     NOT NULL,
  PRIMARY KEY (cgsde, cgsh)
);

-- Work-order categories (the first character of a work-order number); lmfbs 1 = free.
CREATE TABLE svcc90 (
  cwtslb   CHAR(1)   NOT NULL,
  cwtslbmc CHAR(20)  NOT NULL DEFAULT '',
  lmfbs    INTEGER   NOT NULL DEFAULT 0,
  ltybs    INTEGER   NOT NULL DEFAULT 0,
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (cwtslb, cgsh)
);

-- Settlement methods; csfbs '1' = offered at settlement.
CREATE TABLE acpi03 (
  cjsfsdm  CHAR(2)   NOT NULL,
  cjsfsmc  CHAR(30)  NOT NULL DEFAULT '',
  csfbs    CHAR(1)   NOT NULL DEFAULT '1',
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (cjsfsdm, cgsh)
);

-- Parts master.
CREATE TABLE spac01 (
  cbjdm    CHAR(50)  NOT NULL,
  cbjmc    CHAR(40)  NOT NULL DEFAULT '',
  cjldw    CHAR(4)   NOT NULL DEFAULT '',
  ltybs    INTEGER   NOT NULL DEFAULT 0,
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (cbjdm, cgsh)
);

-- Workshop stations (cgskzqdm: the station's labour-hour controller).
CREATE TABLE wtcc01 (
  cwxgwdm  CHAR(2)   NOT NULL,
  cwxgwmc  CHAR(20)  NOT NULL DEFAULT '',
  cgskzqdm CHAR(2)   NOT NULL DEFAULT '',
  ltybs    INTEGER   NOT NULL DEFAULT 0,
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (cwxgwdm, cgsh)
);

-- Labour-hour controllers.
CREATE TABLE wtcc05 (
  cgskzqdm CHAR(2)   NOT NULL,
  cgskzqmc CHAR(20)  NOT NULL DEFAULT '',
  ltybs    INTEGER   NOT NULL DEFAULT 0,
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (cgskzqdm, cgsh)
);

-- Terminal settings per company: nsjdw the terminals' time unit in labour hours.
CREATE TABLE wtci90 (
  cgsh     CHAR(2)     NOT NULL PRIMARY KEY,
  nsjdw    REAL(18,2)  NOT NULL DEFAULT 0
);

-- ---------------------------------------------------------------- work orders

-- Work-order header of current work orders. Deliberately without ltybs,
-- lsdbs and dyxrq: statements join it with crmc04 and vipb01 and name those
-- columns unqualified.
CREATE TABLE svcb20c (
  cwtsbh     CHAR(13)    NOT NULL,
  cgsh       CHAR(2)     NOT NULL,
  id         INTEGER     NOT NULL DEFAULT 0,
  ckhdm      CHAR(18)    NOT NULL DEFAULT '',
  cwxzt      CHAR(1)     NOT NULL DEFAULT '0',
  dsxrq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  dydjc      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  dccrq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  djsrq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  nxslc      REAL(18,4)  NOT NULL DEFAULT 0,
  cgsde      CHAR(2)     NOT NULL DEFAULT '',
  lshbs      INTEGER     NOT NULL DEFAULT 0,
  lqqbs      INTEGER     NOT NULL DEFAULT 0,
  cbgfs      CHAR(1)     NOT NULL DEFAULT '0',
  cjsfs      CHAR(2)     NOT NULL DEFAULT '',
  cdbr       CHAR(8)     NOT NULL DEFAULT '',
  cscbs      CHAR(1)     NOT NULL DEFAULT '0',
  cscbs1     CHAR(1)     NOT NULL DEFAULT '0',
  ngs        REAL(18,2)  NOT NULL DEFAULT 0,
  nysgsf     REAL(18,2)  NOT NULL DEFAULT 0,
  nyhhgsf    REAL(18,2)  NOT NULL DEFAULT 0,
  nssgsf     REAL(18,2)  NOT NULL DEFAULT 0,
  nysclf     REAL(18,2)  NOT NULL DEFAULT 0,
  nyhhclf    REAL(18,2)  NOT NULL DEFAULT 0,
  nssclf     REAL(18,2)  NOT NULL DEFAULT 0,
  ngsyhl     REAL(18,2)  NOT NULL DEFAULT 0,
  nclyhl     REAL(18,2)  NOT NULL DEFAULT 0,
  nhjyh      REAL(18,2)  NOT NULL DEFAULT 0,
  nhjje      REAL(18,2)  NOT NULL DEFAULT 0,
  nzsje      REAL(18,2)  NOT NULL DEFAULT 0,
  nhjse      REAL(18,2)  NOT NULL DEFAULT 0,
  nclcb      REAL(18,2)  NOT NULL DEFAULT 0,
  nsplfcb    REAL(18,2)  NOT NULL DEFAULT 0,
  nljsk      REAL(18,2)  NOT NULL DEFAULT 0,
  lcwskwb    INTEGER     NOT NULL DEFAULT 0,
  npljsxh    INTEGER     NOT NULL DEFAULT 0,
  npzid      INTEGER     NOT NULL DEFAULT 0,
  cfph       CHAR(18)    NOT NULL DEFAULT '',
  dfprq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cfplxdm    CHAR(1)     NOT NULL DEFAULT '',
  cskxf      CHAR(1)     NOT NULL DEFAULT '0',
  cskxgbs    CHAR(1)     NOT NULL DEFAULT '0',
  nhykbcjf   REAL(18,2)  NOT NULL DEFAULT 0,
  nhykbcxfje REAL(18,2)  NOT NULL DEFAULT 0,
  nhykczje   REAL(18,2)  NOT NULL DEFAULT 0,
  nhykscjf   REAL(18,2)  NOT NULL DEFAULT 0,
  nhykscye   REAL(18,2)  NOT NULL DEFAULT 0,
  chth       CHAR(13)    NOT NULL DEFAULT '',
  cjydh      CHAR(13)    NOT NULL DEFAULT '',
  cczydm     CHAR(3)     NOT NULL DEFAULT '',
  cczymc     CHAR(8)     NOT NULL DEFAULT '',
  cfwgwxm    CHAR(8)     NOT NULL DEFAULT '',
  cjsydm     CHAR(3)     NOT NULL DEFAULT '',
  cjsrxm     CHAR(8)     NOT NULL DEFAULT '',
  nbgf       REAL(18,2)  NOT NULL DEFAULT 0,
  nsjf       REAL(18,2)  NOT NULL DEFAULT 0,
  nglf       REAL(18,2)  NOT NULL DEFAULT 0,
  nfcf       REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfy1     REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfy2     REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfy3     REAL(18,2)  NOT NULL DEFAULT 0,
  nbgfse     REAL(18,2)  NOT NULL DEFAULT 0,
  nsjfse     REAL(18,2)  NOT NULL DEFAULT 0,
  nglfse     REAL(18,2)  NOT NULL DEFAULT 0,
  nfcfse     REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfyse1   REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfyse2   REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfyse3   REAL(18,2)  NOT NULL DEFAULT 0,
  ngfse      REAL(18,2)  NOT NULL DEFAULT 0,
  nclse      REAL(18,2)  NOT NULL DEFAULT 0,
  ngfsl      REAL(18,2)  NOT NULL DEFAULT 0,
  nbjxjsl    REAL(18,2)  NOT NULL DEFAULT 0,
  nspgf      REAL(18,2)  NOT NULL DEFAULT 0,
  nsplf      REAL(18,2)  NOT NULL DEFAULT 0,
  chykh      CHAR(18)    DEFAULT '',
  czhzt      CHAR(1)     NOT NULL DEFAULT '',
  czhbh      CHAR(10)    NOT NULL DEFAULT '',
  cyszkkm    CHAR(15)    NOT NULL DEFAULT '',
  lsbbs      INTEGER     NOT NULL DEFAULT 0,
  PRIMARY KEY (cwtsbh, cgsh)
);
CREATE INDEX ix_svcb20c_djsrq ON svcb20c (cgsh, djsrq);
CREATE INDEX ix_svcb20c_dsxrq ON svcb20c (cgsh, dsxrq);
CREATE INDEX ix_svcb20c_id ON svcb20c (id);

-- Work-order header of history work orders: the columns of svcb20c, then the
-- customer's data as it stood when the work order was archived (ckhmc …
-- clxrdh; the archive's postcode field cyb is the wider CHAR(15)).
CREATE TABLE svcb20c_h (
  cwtsbh     CHAR(13)    NOT NULL,
  cgsh       CHAR(2)     NOT NULL,
  id         INTEGER     NOT NULL DEFAULT 0,
  ckhdm      CHAR(18)    NOT NULL DEFAULT '',
  cwxzt      CHAR(1)     NOT NULL DEFAULT '0',
  dsxrq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  dydjc      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  dccrq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  djsrq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  nxslc      REAL(18,4)  NOT NULL DEFAULT 0,
  cgsde      CHAR(2)     NOT NULL DEFAULT '',
  lshbs      INTEGER     NOT NULL DEFAULT 0,
  lqqbs      INTEGER     NOT NULL DEFAULT 0,
  cbgfs      CHAR(1)     NOT NULL DEFAULT '0',
  cjsfs      CHAR(2)     NOT NULL DEFAULT '',
  cdbr       CHAR(8)     NOT NULL DEFAULT '',
  cscbs      CHAR(1)     NOT NULL DEFAULT '0',
  cscbs1     CHAR(1)     NOT NULL DEFAULT '0',
  ngs        REAL(18,2)  NOT NULL DEFAULT 0,
  nysgsf     REAL(18,2)  NOT NULL DEFAULT 0,
  nyhhgsf    REAL(18,2)  NOT NULL DEFAULT 0,
  nssgsf     REAL(18,2)  NOT NULL DEFAULT 0,
  nysclf     REAL(18,2)  NOT NULL DEFAULT 0,
  nyhhclf    REAL(18,2)  NOT NULL DEFAULT 0,
  nssclf     REAL(18,2)  NOT NULL DEFAULT 0,
  ngsyhl     REAL(18,2)  NOT NULL DEFAULT 0,
  nclyhl     REAL(18,2)  NOT NULL DEFAULT 0,
  nhjyh      REAL(18,2)  NOT NULL DEFAULT 0,
  nhjje      REAL(18,2)  NOT NULL DEFAULT 0,
  nzsje      REAL(18,2)  NOT NULL DEFAULT 0,
  nhjse      REAL(18,2)  NOT NULL DEFAULT 0,
  nclcb      REAL(18,2)  NOT NULL DEFAULT 0,
  nsplfcb    REAL(18,2)  NOT NULL DEFAULT 0,
  nljsk      REAL(18,2)  NOT NULL DEFAULT 0,
  lcwskwb    INTEGER     NOT NULL DEFAULT 0,
  npljsxh    INTEGER     NOT NULL DEFAULT 0,
  npzid      INTEGER     NOT NULL DEFAULT 0,
  cfph       CHAR(18)    NOT NULL DEFAULT '',
  dfprq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cfplxdm    CHAR(1)     NOT NULL DEFAULT '',
  cskxf      CHAR(1)     NOT NULL DEFAULT '0',
  cskxgbs    CHAR(1)     NOT NULL DEFAULT '0',
  nhykbcjf   REAL(18,2)  NOT NULL DEFAULT 0,
  nhykbcxfje REAL(18,2)  NOT NULL DEFAULT 0,
  nhykczje   REAL(18,2)  NOT NULL DEFAULT 0,
  nhykscjf   REAL(18,2)  NOT NULL DEFAULT 0,
  nhykscye   REAL(18,2)  NOT NULL DEFAULT 0,
  chth       CHAR(13)    NOT NULL DEFAULT '',
  cjydh      CHAR(13)    NOT NULL DEFAULT '',
  cczydm     CHAR(3)     NOT NULL DEFAULT '',
  cczymc     CHAR(8)     NOT NULL DEFAULT '',
  cfwgwxm    CHAR(8)     NOT NULL DEFAULT '',
  cjsydm     CHAR(3)     NOT NULL DEFAULT '',
  cjsrxm     CHAR(8)     NOT NULL DEFAULT '',
  nbgf       REAL(18,2)  NOT NULL DEFAULT 0,
  nsjf       REAL(18,2)  NOT NULL DEFAULT 0,
  nglf       REAL(18,2)  NOT NULL DEFAULT 0,
  nfcf       REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfy1     REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfy2     REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfy3     REAL(18,2)  NOT NULL DEFAULT 0,
  nbgfse     REAL(18,2)  NOT NULL DEFAULT 0,
  nsjfse     REAL(18,2)  NOT NULL DEFAULT 0,
  nglfse     REAL(18,2)  NOT NULL DEFAULT 0,
  nfcfse     REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfyse1   REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfyse2   REAL(18,2)  NOT NULL DEFAULT 0,
  nqtfyse3   REAL(18,2)  NOT NULL DEFAULT 0,
  ngfse      REAL(18,2)  NOT NULL DEFAULT 0,
  nclse      REAL(18,2)  NOT NULL DEFAULT 0,
  ngfsl      REAL(18,2)  NOT NULL DEFAULT 0,
  nbjxjsl    REAL(18,2)  NOT NULL DEFAULT 0,
  nspgf      REAL(18,2)  NOT NULL DEFAULT 0,
  nsplf      REAL(18,2)  NOT NULL DEFAULT 0,
  chykh      CHAR(18)    DEFAULT '',
  czhzt      CHAR(1)     NOT NULL DEFAULT '',
  czhbh      CHAR(10)    NOT NULL DEFAULT '',
  cyszkkm    CHAR(15)    NOT NULL DEFAULT '',
  lsbbs      INTEGER     NOT NULL DEFAULT 0,
  ckhmc      CHAR(50)    NOT NULL DEFAULT '',
  ckhdz      CHAR(50)    NOT NULL DEFAULT '',
  cdh        CHAR(20)    NOT NULL DEFAULT '',
  cyb        CHAR(15)    NOT NULL DEFAULT '',
  ckhh       CHAR(30)    NOT NULL DEFAULT '',
  clxr       CHAR(8)     NOT NULL DEFAULT '',
  clxrdh     CHAR(20)    NOT NULL DEFAULT '',
  PRIMARY KEY (cwtsbh, cgsh)
);
CREATE INDEX ix_svcb20c_h_djsrq ON svcb20c_h (cgsh, djsrq);
CREATE INDEX ix_svcb20c_h_dsxrq ON svcb20c_h (cgsh, dsxrq);
CREATE INDEX ix_svcb20c_h_id ON svcb20c_h (id);

-- Repair items of current work orders; addressed by cwtsbh, cwxxmdm, cxmmc.
CREATE TABLE svcb20d (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  cwtsbh   CHAR(13)    NOT NULL,
  cwxxmdm  CHAR(8)     NOT NULL,
  cxmmc    CHAR(30)    NOT NULL DEFAULT '',
  cxz      CHAR(1)     NOT NULL DEFAULT '0',
  ngs      REAL(18,2)  NOT NULL DEFAULT 0,
  ngsf     REAL(18,2)  NOT NULL DEFAULT 0,
  ngsyhl   REAL(18,2)  NOT NULL DEFAULT 0,
  lzjxm    INTEGER     NOT NULL DEFAULT 0,
  cbzdm    CHAR(4)     NOT NULL DEFAULT '',
  czxrdm   CHAR(3)     NOT NULL DEFAULT '',
  cgwdm    CHAR(2)     NOT NULL DEFAULT '',
  lksbs    INTEGER     NOT NULL DEFAULT 0,
  lwcbs    INTEGER     NOT NULL DEFAULT 0,
  lfgbs    INTEGER     NOT NULL DEFAULT 0,
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_svcb20d_item ON svcb20d (cwtsbh, cwxxmdm);

-- Repair items of history work orders, the columns of svcb20d.
CREATE TABLE svcb20d_h (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  cwtsbh   CHAR(13)    NOT NULL,
  cwxxmdm  CHAR(8)     NOT NULL,
  cxmmc    CHAR(30)    NOT NULL DEFAULT '',
  cxz      CHAR(1)     NOT NULL DEFAULT '0',
  ngs      REAL(18,2)  NOT NULL DEFAULT 0,
  ngsf     REAL(18,2)  NOT NULL DEFAULT 0,
  ngsyhl   REAL(18,2)  NOT NULL DEFAULT 0,
  lzjxm    INTEGER     NOT NULL DEFAULT 0,
  cbzdm    CHAR(4)     NOT NULL DEFAULT '',
  czxrdm   CHAR(3)     NOT NULL DEFAULT '',
  cgwdm    CHAR(2)     NOT NULL DEFAULT '',
  lksbs    INTEGER     NOT NULL DEFAULT 0,
  lwcbs    INTEGER     NOT NULL DEFAULT 0,
  lfgbs    INTEGER     NOT NULL DEFAULT 0,
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_svcb20d_h_item ON svcb20d_h (cwtsbh, cwxxmdm);

-- Rework records, one per repair item of a work order.
CREATE TABLE svcb50 (
  cwtsbh   CHAR(13)    NOT NULL,
  cwxxmdm  CHAR(8)     NOT NULL,
  cgsh     CHAR(2)     NOT NULL,
  ckhdm    CHAR(18)    DEFAULT '',
  ckhmc    CHAR(50)    DEFAULT '',
  cpzh     CHAR(12)    DEFAULT '',
  ccxdm    CHAR(50)    DEFAULT '',
  cxmmc    CHAR(30)    DEFAULT '',
  ngs      REAL(18,2)  DEFAULT 0,
  ngsf     REAL(18,2)  DEFAULT 0,
  nkk      REAL(18,2)  DEFAULT 0,
  cbzdm    CHAR(4)     DEFAULT '',
  czxrdm   CHAR(3)     DEFAULT '',
  dfxrq    DATETIME    DEFAULT '1900-01-01 00:00:00',
  cczydm   CHAR(3)     DEFAULT '',
  cwxgwdm  CHAR(2)     DEFAULT '',
  cgwdm    CHAR(2)     DEFAULT '',
  lksbs    INTEGER     DEFAULT 0,
  lwcbs    INTEGER     DEFAULT 0,
  lzt      INTEGER     DEFAULT 0,
  PRIMARY KEY (cwtsbh, cwxxmdm, cgsh)
);

-- Rework records of history work orders, the columns of svcb50.
CREATE TABLE svcb50_h (
  cwtsbh   CHAR(13)    NOT NULL,
  cwxxmdm  CHAR(8)     NOT NULL,
  cgsh     CHAR(2)     NOT NULL,
  ckhdm    CHAR(18)    DEFAULT '',
  ckhmc    CHAR(50)    DEFAULT '',
  cpzh     CHAR(12)    DEFAULT '',
  ccxdm    CHAR(50)    DEFAULT '',
  cxmmc    CHAR(30)    DEFAULT '',
  ngs      REAL(18,2)  DEFAULT 0,
  ngsf     REAL(18,2)  DEFAULT 0,
  nkk      REAL(18,2)  DEFAULT 0,
  cbzdm    CHAR(4)     DEFAULT '',
  czxrdm   CHAR(3)     DEFAULT '',
  dfxrq    DATETIME    DEFAULT '1900-01-01 00:00:00',
  cczydm   CHAR(3)     DEFAULT '',
  cwxgwdm  CHAR(2)     DEFAULT '',
  cgwdm    CHAR(2)     DEFAULT '',
  lksbs    INTEGER     DEFAULT 0,
  lwcbs    INTEGER     DEFAULT 0,
  lzt      INTEGER     DEFAULT 0,
  PRIMARY KEY (cwtsbh, cwxxmdm, cgsh)
);

-- Jobs of the workshop labour-hour terminals; lfxbs 1 = a rework job.
CREATE TABLE wtcb01c (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  dxcrq    DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cwtslsh  CHAR(13)    NOT NULL DEFAULT '',
  cwtsbh   CHAR(13)    NOT NULL,
  cpzh     CHAR(12)    NOT NULL DEFAULT '',
  ckh      CHAR(18)    NOT NULL DEFAULT '',
  cwxxmdm  CHAR(8)     NOT NULL DEFAULT '',
  cwxgwdm  CHAR(2)     NOT NULL DEFAULT '',
  dpgsj    DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  lzjbs    INTEGER     NOT NULL DEFAULT 0,
  lfxbs    INTEGER     NOT NULL DEFAULT 0,
  lzt      INTEGER     NOT NULL DEFAULT 0,
  nscsj    REAL(18,2)  NOT NULL DEFAULT 0,
  cgwdm    CHAR(2)     NOT NULL DEFAULT '',
  dkssj    DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  dwcsj    DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_wtcb01c_item ON wtcb01c (cwtsbh, cwxxmdm, lfxbs, cgsh);

-- ---------------------------------------------------------------- materials

-- Stock issue documents (clb '1' issue, '2' return) against a document
-- cdydbh, here the work order.
CREATE TABLE spab02c (
  cdjbh    CHAR(13)  NOT NULL,
  cdydbh   CHAR(13)  NOT NULL DEFAULT '',
  clb      CHAR(1)   NOT NULL DEFAULT '1',
  ddjrq    DATETIME  NOT NULL DEFAULT '1900-01-01 00:00:00',
  cczydm   CHAR(3)   NOT NULL DEFAULT '',
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (cdjbh, cgsh)
);
CREATE INDEX ix_spab02c_cdydbh ON spab02c (cdydbh, cgsh);

-- Lines of stock issue documents; quantities of returns are negative;
-- cbjbm is '' when the master name applies.
CREATE TABLE spab02d (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  cdjbh    CHAR(13)    NOT NULL,
  cbjdm    CHAR(50)    NOT NULL,
  cbjbm    CHAR(40)    NOT NULL DEFAULT '',
  nrcdj    REAL(18,6)  NOT NULL DEFAULT 0,
  nrcsl    REAL(18,2)  NOT NULL DEFAULT 0,
  nrcje    REAL(18,2)  NOT NULL DEFAULT 0,
  ccklb    CHAR(1)     NOT NULL DEFAULT '0',
  nclyhl   REAL(18,2)  NOT NULL DEFAULT 0,
  cph      CHAR(10)    NOT NULL DEFAULT '',
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_spab02d_doc ON spab02d (cdjbh, cgsh);

-- Additional material lines of a work order (not from a stock issue).
CREATE TABLE svcb25 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  cwtsbh   CHAR(13)    NOT NULL,
  cbjdm    CHAR(50)    NOT NULL DEFAULT '',
  cbjbm    CHAR(40)    NOT NULL DEFAULT '',
  nckdj    REAL(18,6)  NOT NULL DEFAULT 0,
  ncksl    REAL(18,2)  NOT NULL DEFAULT 0,
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_svcb25_cwtsbh ON svcb25 (cwtsbh);

-- ---------------------------------------------------------------- receipts, archive, other records

-- Receipts; cbs '3' = a receipt against the settlement of work order cdydjh.
CREATE TABLE sysb13 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  cbs      CHAR(1)     NOT NULL DEFAULT '3',
  cdydjh   CHAR(20)    NOT NULL DEFAULT '',
  nbcjsje  REAL(18,2)  NOT NULL DEFAULT 0,
  drq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cjsfs    CHAR(2)     NOT NULL DEFAULT '',
  cczydm   CHAR(3)     NOT NULL DEFAULT '',
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_sysb13_doc ON sysb13 (cdydjh, cbs);

-- System parameters by group and code (both compared without regard to case).
CREATE TABLE sysi90 (
  cssxt    CHAR(3)      NOT NULL COLLATE NOCASE,
  ccsdm    CHAR(20)     NOT NULL COLLATE NOCASE,
  ccsz     VARCHAR(60),
  ccsmc    VARCHAR(60)  NOT NULL DEFAULT '',
  cgsh     CHAR(2)      NOT NULL,
  PRIMARY KEY (cgsh, cssxt, ccsdm)
);

-- Print settings per document class ('14' settlement slip); ndyfs may be NULL.
CREATE TABLE sysb12 (
  cdydjlb  CHAR(2)   NOT NULL,
  cdydjmc  CHAR(20)  NOT NULL DEFAULT '',
  ndyfs    INTEGER,
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (cdydjlb, cgsh)
);

-- Archive of cancelled settlements with the archived slip in cblob.
CREATE TABLE svcb61 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  ctype    CHAR(1)      NOT NULL DEFAULT '1',
  nver     INTEGER      NOT NULL DEFAULT 1,
  cwtsbh   CHAR(13)     NOT NULL DEFAULT '',
  dsxrq    DATETIME     NOT NULL DEFAULT '1900-01-01 00:00:00',
  djsrq    DATETIME     NOT NULL DEFAULT '1900-01-01 00:00:00',
  ckhmc    CHAR(50)     NOT NULL DEFAULT '',
  ccxmc    CHAR(30)     NOT NULL DEFAULT '',
  cpzh     CHAR(12)     NOT NULL DEFAULT '',
  cdph     CHAR(17)     NOT NULL DEFAULT '',
  cjszt    CHAR(1)      NOT NULL DEFAULT '',
  nhjje    REAL(18,2)   NOT NULL DEFAULT 0,
  nysje    REAL(18,2)   NOT NULL DEFAULT 0,
  ddate    DATETIME     NOT NULL DEFAULT '1900-01-01 00:00:00',
  cfwgwmc  CHAR(8)      NOT NULL DEFAULT '',
  cczydm   CHAR(3)      NOT NULL DEFAULT '',
  cczymc   CHAR(8)      NOT NULL DEFAULT '',
  cbz      VARCHAR(255) NOT NULL DEFAULT '',
  cgsh     CHAR(2)      NOT NULL,
  cblob    BLOB
);
CREATE INDEX ix_svcb61_ddate ON svcb61 (cgsh, ddate);
CREATE INDEX ix_svcb61_cwtsbh ON svcb61 (cwtsbh);

-- Records per work order kept by another part of the application; clb '0'
-- marks the work order in the settlement print list.
CREATE TABLE svcb22c (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  cwtsbh   CHAR(13)      NOT NULL,
  clb      CHAR(1)       NOT NULL DEFAULT '',
  cnr      VARCHAR(100)  NOT NULL DEFAULT '',
  drq      DATETIME      NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)       NOT NULL
);
CREATE INDEX ix_svcb22c_doc ON svcb22c (cwtsbh, clb);

CREATE TABLE svcb22c_h (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  cwtsbh   CHAR(13)      NOT NULL,
  clb      CHAR(1)       NOT NULL DEFAULT '',
  cnr      VARCHAR(100)  NOT NULL DEFAULT '',
  drq      DATETIME      NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)       NOT NULL
);
CREATE INDEX ix_svcb22c_h_doc ON svcb22c_h (cwtsbh, clb);

-- Accounts by account code and chassis number; czt '8' = released.
CREATE TABLE svcb11d2 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  czhdm    CHAR(10)  NOT NULL DEFAULT '',
  cdph     CHAR(17)  NOT NULL DEFAULT '',
  czt      CHAR(1)   NOT NULL DEFAULT '',
  cgsh     CHAR(2)   NOT NULL
);
CREATE INDEX ix_svcb11d2_account ON svcb11d2 (czhdm, cdph);

-- ---------------------------------------------------------------- membership cards (local copies)

-- Membership cards; the ids are the same as in kq_club.club01c.
CREATE TABLE club01c (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  ckh      CHAR(18)    NOT NULL,
  ckhdm    CHAR(18)    NOT NULL DEFAULT '',
  ckhmc    CHAR(50)    NOT NULL DEFAULT '',
  ndhjf    REAL(18,2)  NOT NULL DEFAULT 0,
  ndjjf    REAL(18,2)  NOT NULL DEFAULT 0,
  nljjf    REAL(18,2)  NOT NULL DEFAULT 0,
  nknye    REAL(18,2)  NOT NULL DEFAULT 0,
  lsdbs    INTEGER     NOT NULL DEFAULT 0,
  ltybs    INTEGER     NOT NULL DEFAULT 0,
  lblbs    INTEGER     NOT NULL DEFAULT 0,
  dyxrq    DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  dhfdqr   DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)     NOT NULL
);
CREATE UNIQUE INDEX ux_club01c_ckh ON club01c (ckh, cgsh);

-- Link of a card (nkid) to a vehicle record (ncldaid).
CREATE TABLE club03 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  ncldaid  INTEGER   NOT NULL,
  nkid     INTEGER   NOT NULL,
  cgsh     CHAR(2)   NOT NULL
);
CREATE INDEX ix_club03_vehicle ON club03 (ncldaid);
CREATE INDEX ix_club03_card ON club03 (nkid);

-- Stored-value log: movements booked by a business document.
CREATE TABLE club07 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  nkid     INTEGER     NOT NULL DEFAULT 0,
  cdyywdh  CHAR(20)    NOT NULL DEFAULT '',
  cywfl    CHAR(3)     NOT NULL DEFAULT '',
  nje      REAL(18,2)  NOT NULL DEFAULT 0,
  drq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_club07_doc ON club07 (cdyywdh, cywfl);

-- Points log: points booked to a card by a business document.
CREATE TABLE club08 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  nkid     INTEGER     NOT NULL DEFAULT 0,
  cdyywdh  CHAR(20)    NOT NULL DEFAULT '',
  cywfl    CHAR(3)     NOT NULL DEFAULT '',
  nbcdhjf  REAL(18,2)  NOT NULL DEFAULT 0,
  nbcdjjf  REAL(18,2)  NOT NULL DEFAULT 0,
  nbcljjf  REAL(18,2)  NOT NULL DEFAULT 0,
  drq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_club08_doc ON club08 (cdyywdh, cywfl);
CREATE INDEX ix_club08_card ON club08 (nkid);

-- Card payments against a work order.
CREATE TABLE club01d (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  ckh      CHAR(18)    NOT NULL DEFAULT '',
  cwtsbh   CHAR(13)    NOT NULL DEFAULT '',
  nje      REAL(18,2)  NOT NULL DEFAULT 0,
  drq      DATETIME    NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)     NOT NULL
);
CREATE INDEX ix_club01d_card ON club01d (ckh, cwtsbh);

-- VIP records of a vehicle (nclid = crmc04.id).
CREATE TABLE vipb01 (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  nclid    INTEGER   NOT NULL,
  ckh      CHAR(18)  NOT NULL DEFAULT '',
  lsdbs    INTEGER   NOT NULL DEFAULT 0,
  ltybs    INTEGER   NOT NULL DEFAULT 0,
  dyxrq    DATETIME  NOT NULL DEFAULT '1900-01-01 00:00:00',
  cgsh     CHAR(2)   NOT NULL
);
CREATE INDEX ix_vipb01_vehicle ON vipb01 (nclid);

-- ---------------------------------------------------------------- host framework

-- Operators: cczydm is the staff code of sysc03; cmmhash an argon2id string
-- (crypto_pwhash_str); cqx the authorities as "CJ,CP,CQ"; ltybs 1 = stopped.
CREATE TABLE kq_operator (
  cczydm   CHAR(3)       NOT NULL,
  cczymc   CHAR(8)       NOT NULL DEFAULT '',
  cmmhash  VARCHAR(255)  NOT NULL DEFAULT '',
  cqx      VARCHAR(100)  NOT NULL DEFAULT '',
  ltybs    INTEGER       NOT NULL DEFAULT 0,
  cgsh     CHAR(2)       NOT NULL,
  PRIMARY KEY (cczydm, cgsh)
);

-- Operation log (f_log_operate).
CREATE TABLE kq_operation_log (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  drq      DATETIME       NOT NULL DEFAULT '1900-01-01 00:00:00',
  cczydm   CHAR(3)        NOT NULL DEFAULT '',
  cczymc   CHAR(8)        NOT NULL DEFAULT '',
  cnr      VARCHAR(1000)  NOT NULL DEFAULT '',
  cgsh     CHAR(2)        NOT NULL
);
CREATE INDEX ix_kq_operation_log_drq ON kq_operation_log (cgsh, drq);

-- Document counters (f_retu_djxh): the last number handed out per module and key.
CREATE TABLE kq_counter (
  cmk      CHAR(3)   NOT NULL COLLATE NOCASE,
  cjm      CHAR(20)  NOT NULL COLLATE NOCASE,
  nzhh     INTEGER   NOT NULL DEFAULT 0,
  cgsh     CHAR(2)   NOT NULL,
  PRIMARY KEY (cgsh, cmk, cjm)
);

-- Calls of the finance hook (f_acr_qxcwjs_valid, f_acr_qxcwjs).
CREATE TABLE kq_finance_call (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  cwtsbh   CHAR(13)     NOT NULL DEFAULT '',
  drq      DATETIME     NOT NULL DEFAULT '1900-01-01 00:00:00',
  cczydm   CHAR(3)      NOT NULL DEFAULT '',
  chs      VARCHAR(30)  NOT NULL DEFAULT '',
  cgsh     CHAR(2)      NOT NULL
);
CREATE INDEX ix_kq_finance_call_cwtsbh ON kq_finance_call (cwtsbh);

-- ---------------------------------------------------------------- views
-- Views select plain columns wherever they can, so that they expose the
-- declared types of their tables. A view over current and history rows wraps
-- its UNION ALL in an outer SELECT: SQLite then takes every column's declared
-- type from the last arm, for PRAGMA table_info and sqlite3_column_decltype
-- alike, so the history arm comes last.

-- Current work orders with the customer's and the vehicle's data.
CREATE VIEW v_svc300_01 AS
SELECT h.cgsh, h.cwtsbh, h.id, h.ckhdm,
       k.ckhmc, k.ckhdz, k.cdh, k.cyb, k.ckhh, k.clxr, k.clxrdh,
       c.cpzh, c.cdph, c.cfdjh, c.ccxdm, m.ccxmc, c.ccp, c.nwxcslj, c.nljje,
       h.nxslc, h.dsxrq, h.dydjc, h.dccrq, h.cgsde, h.lshbs, h.lqqbs, h.cbgfs,
       h.cwxzt, h.djsrq, h.cjsfs, h.cdbr, h.cscbs, h.cscbs1,
       h.ngs, h.nysgsf, h.nyhhgsf, h.nssgsf, h.nysclf, h.nyhhclf, h.nssclf,
       h.ngsyhl, h.nclyhl, h.nhjyh, h.nhjje, h.nzsje, h.nhjse, h.nclcb, h.nsplfcb,
       h.nljsk, h.lcwskwb, h.npljsxh, h.npzid, h.cfph, h.dfprq, h.cfplxdm,
       h.cskxf, h.cskxgbs, h.nhykbcjf, h.nhykbcxfje, h.nhykczje, h.nhykscjf, h.nhykscye,
       h.chth, h.cjydh, h.cczydm, h.cczymc, h.cfwgwxm, h.cjsydm, h.cjsrxm,
       h.nbgf, h.nsjf, h.nglf, h.nfcf, h.nqtfy1, h.nqtfy2, h.nqtfy3,
       h.nbgfse, h.nsjfse, h.nglfse, h.nfcfse, h.nqtfyse1, h.nqtfyse2, h.nqtfyse3,
       h.ngfse, h.nclse, h.ngfsl, h.nbjxjsl, h.nspgf, h.nsplf,
       h.chykh, h.czhzt, h.czhbh, h.cyszkkm, h.lsbbs
  FROM svcb20c h
  LEFT JOIN crmc01 k ON k.ckhdm = h.ckhdm AND k.cgsh = h.cgsh
  LEFT JOIN crmc04 c ON c.id = h.id AND c.cgsh = h.cgsh
  LEFT JOIN svcc04 m ON m.ccxdm = c.ccxdm AND m.cgsh = c.cgsh;

-- Current and history work orders, the columns of v_svc300_01; history rows
-- carry the customer's data archived with them (cyb CHAR(15)).
CREATE VIEW v_svc300_01_all AS
SELECT * FROM (
SELECT h.cgsh, h.cwtsbh, h.id, h.ckhdm,
       k.ckhmc, k.ckhdz, k.cdh, k.cyb, k.ckhh, k.clxr, k.clxrdh,
       c.cpzh, c.cdph, c.cfdjh, c.ccxdm, m.ccxmc, c.ccp, c.nwxcslj, c.nljje,
       h.nxslc, h.dsxrq, h.dydjc, h.dccrq, h.cgsde, h.lshbs, h.lqqbs, h.cbgfs,
       h.cwxzt, h.djsrq, h.cjsfs, h.cdbr, h.cscbs, h.cscbs1,
       h.ngs, h.nysgsf, h.nyhhgsf, h.nssgsf, h.nysclf, h.nyhhclf, h.nssclf,
       h.ngsyhl, h.nclyhl, h.nhjyh, h.nhjje, h.nzsje, h.nhjse, h.nclcb, h.nsplfcb,
       h.nljsk, h.lcwskwb, h.npljsxh, h.npzid, h.cfph, h.dfprq, h.cfplxdm,
       h.cskxf, h.cskxgbs, h.nhykbcjf, h.nhykbcxfje, h.nhykczje, h.nhykscjf, h.nhykscye,
       h.chth, h.cjydh, h.cczydm, h.cczymc, h.cfwgwxm, h.cjsydm, h.cjsrxm,
       h.nbgf, h.nsjf, h.nglf, h.nfcf, h.nqtfy1, h.nqtfy2, h.nqtfy3,
       h.nbgfse, h.nsjfse, h.nglfse, h.nfcfse, h.nqtfyse1, h.nqtfyse2, h.nqtfyse3,
       h.ngfse, h.nclse, h.ngfsl, h.nbjxjsl, h.nspgf, h.nsplf,
       h.chykh, h.czhzt, h.czhbh, h.cyszkkm, h.lsbbs
  FROM svcb20c h
  LEFT JOIN crmc01 k ON k.ckhdm = h.ckhdm AND k.cgsh = h.cgsh
  LEFT JOIN crmc04 c ON c.id = h.id AND c.cgsh = h.cgsh
  LEFT JOIN svcc04 m ON m.ccxdm = c.ccxdm AND m.cgsh = c.cgsh
UNION ALL
SELECT h.cgsh, h.cwtsbh, h.id, h.ckhdm,
       h.ckhmc, h.ckhdz, h.cdh, h.cyb, h.ckhh, h.clxr, h.clxrdh,
       c.cpzh, c.cdph, c.cfdjh, c.ccxdm, m.ccxmc, c.ccp, c.nwxcslj, c.nljje,
       h.nxslc, h.dsxrq, h.dydjc, h.dccrq, h.cgsde, h.lshbs, h.lqqbs, h.cbgfs,
       h.cwxzt, h.djsrq, h.cjsfs, h.cdbr, h.cscbs, h.cscbs1,
       h.ngs, h.nysgsf, h.nyhhgsf, h.nssgsf, h.nysclf, h.nyhhclf, h.nssclf,
       h.ngsyhl, h.nclyhl, h.nhjyh, h.nhjje, h.nzsje, h.nhjse, h.nclcb, h.nsplfcb,
       h.nljsk, h.lcwskwb, h.npljsxh, h.npzid, h.cfph, h.dfprq, h.cfplxdm,
       h.cskxf, h.cskxgbs, h.nhykbcjf, h.nhykbcxfje, h.nhykczje, h.nhykscjf, h.nhykscye,
       h.chth, h.cjydh, h.cczydm, h.cczymc, h.cfwgwxm, h.cjsydm, h.cjsrxm,
       h.nbgf, h.nsjf, h.nglf, h.nfcf, h.nqtfy1, h.nqtfy2, h.nqtfy3,
       h.nbgfse, h.nsjfse, h.nglfse, h.nfcfse, h.nqtfyse1, h.nqtfyse2, h.nqtfyse3,
       h.ngfse, h.nclse, h.ngfsl, h.nbjxjsl, h.nspgf, h.nsplf,
       h.chykh, h.czhzt, h.czhbh, h.cyszkkm, h.lsbbs
  FROM svcb20c_h h
  LEFT JOIN crmc04 c ON c.id = h.id AND c.cgsh = h.cgsh
  LEFT JOIN svcc04 m ON m.ccxdm = c.ccxdm AND m.cgsh = c.cgsh
);

-- Repair items of current and history work orders.
CREATE VIEW v_svcb20d_svcb20d_h AS
SELECT * FROM (
SELECT id, cwtsbh, cwxxmdm, cxmmc, cxz, ngs, ngsf, ngsyhl, lzjxm, cbzdm, czxrdm, cgwdm,
       lksbs, lwcbs, lfgbs, cgsh FROM svcb20d
UNION ALL
SELECT id, cwtsbh, cwxxmdm, cxmmc, cxz, ngs, ngsf, ngsyhl, lzjxm, cbzdm, czxrdm, cgwdm,
       lksbs, lwcbs, lfgbs, cgsh FROM svcb20d_h
);

-- Rework records of current and history work orders. The all-records list
-- names this view as its update table: deletes and updates go to whichever
-- table holds the record.
CREATE VIEW v_svcb50_svcb50_h AS
SELECT * FROM (
SELECT cwtsbh, cwxxmdm, cgsh, ckhdm, ckhmc, cpzh, ccxdm, cxmmc, ngs, ngsf, nkk, cbzdm, czxrdm,
       dfxrq, cczydm, cwxgwdm, cgwdm, lksbs, lwcbs, lzt FROM svcb50
UNION ALL
SELECT cwtsbh, cwxxmdm, cgsh, ckhdm, ckhmc, cpzh, ccxdm, cxmmc, ngs, ngsf, nkk, cbzdm, czxrdm,
       dfxrq, cczydm, cwxgwdm, cgwdm, lksbs, lwcbs, lzt FROM svcb50_h
);

CREATE TRIGGER tr_v_svcb50_svcb50_h_delete INSTEAD OF DELETE ON v_svcb50_svcb50_h
BEGIN
  DELETE FROM svcb50 WHERE cwtsbh = OLD.cwtsbh AND cwxxmdm = OLD.cwxxmdm AND cgsh = OLD.cgsh;
  DELETE FROM svcb50_h WHERE cwtsbh = OLD.cwtsbh AND cwxxmdm = OLD.cwxxmdm AND cgsh = OLD.cgsh;
END;

CREATE TRIGGER tr_v_svcb50_svcb50_h_update INSTEAD OF UPDATE ON v_svcb50_svcb50_h
BEGIN
  UPDATE svcb50 SET cwtsbh = NEW.cwtsbh, cwxxmdm = NEW.cwxxmdm, cgsh = NEW.cgsh, ckhdm = NEW.ckhdm,
         ckhmc = NEW.ckhmc, cpzh = NEW.cpzh, ccxdm = NEW.ccxdm, cxmmc = NEW.cxmmc, ngs = NEW.ngs,
         ngsf = NEW.ngsf, nkk = NEW.nkk, cbzdm = NEW.cbzdm, czxrdm = NEW.czxrdm, dfxrq = NEW.dfxrq,
         cczydm = NEW.cczydm, cwxgwdm = NEW.cwxgwdm, cgwdm = NEW.cgwdm, lksbs = NEW.lksbs,
         lwcbs = NEW.lwcbs, lzt = NEW.lzt
   WHERE cwtsbh = OLD.cwtsbh AND cwxxmdm = OLD.cwxxmdm AND cgsh = OLD.cgsh;
  UPDATE svcb50_h SET cwtsbh = NEW.cwtsbh, cwxxmdm = NEW.cwxxmdm, cgsh = NEW.cgsh, ckhdm = NEW.ckhdm,
         ckhmc = NEW.ckhmc, cpzh = NEW.cpzh, ccxdm = NEW.ccxdm, cxmmc = NEW.cxmmc, ngs = NEW.ngs,
         ngsf = NEW.ngsf, nkk = NEW.nkk, cbzdm = NEW.cbzdm, czxrdm = NEW.czxrdm, dfxrq = NEW.dfxrq,
         cczydm = NEW.cczydm, cwxgwdm = NEW.cwxgwdm, cgwdm = NEW.cgwdm, lksbs = NEW.lksbs,
         lwcbs = NEW.lwcbs, lzt = NEW.lzt
   WHERE cwtsbh = OLD.cwtsbh AND cwxxmdm = OLD.cwxxmdm AND cgsh = OLD.cgsh;
END;

-- svcb22c records of current and history work orders.
CREATE VIEW v_svcb22c_all AS
SELECT * FROM (
SELECT id, cwtsbh, clb, cnr, drq, cgsh FROM svcb22c
UNION ALL
SELECT id, cwtsbh, clb, cnr, drq, cgsh FROM svcb22c_h
);

-- Stock issue documents with their lines.
CREATE VIEW v_spab02c_spab02d AS
SELECT c.cdjbh, c.cdydbh, c.clb, c.ddjrq, d.cbjdm, d.cbjbm, d.nrcdj, d.nrcsl, d.nrcje,
       d.ccklb, d.nclyhl, d.cph, d.cgsh
  FROM spab02c c
  JOIN spab02d d ON d.cdjbh = c.cdjbh AND d.cgsh = c.cgsh;

-- Stations with their labour-hour controller (ltybs of the station).
CREATE VIEW v_wtcc01 AS
SELECT s.cwxgwdm, s.cwxgwmc, s.cgskzqdm, k.cgskzqmc, s.ltybs, s.cgsh
  FROM wtcc01 s
  LEFT JOIN wtcc05 k ON k.cgskzqdm = s.cgskzqdm AND k.cgsh = s.cgsh;

-- Staff with their department and staff category.
CREATE VIEW v_bm_gr_grlb AS
SELECT g.cgrdm, g.cgrmc, g.cssbmdm, b.cbmmc, g.cgrlbdm, l.cgrlbmc, g.ltybs, g.cgsh
  FROM sysc03 g
  LEFT JOIN sysc02 b ON b.cbmdm = g.cssbmdm AND b.cgsh = g.cgsh
  LEFT JOIN sysc04 l ON l.cgrlbdm = g.cgrlbdm AND l.cgsh = g.cgsh;

-- Workshop teams in use with their state, for choosing a team.
CREATE VIEW v_svc300_bzxz AS
SELECT cbmdm, cbmmc, czt, dwgrq, cgsh
  FROM sysc02
 WHERE cbmsx = '1' AND ltybs = 0;

-- Chief mechanics in use (staff category '6') with their team and state.
CREATE VIEW v_svc300_zxrxz AS
SELECT g.cgrdm, g.cgrmc, g.cssbmdm, b.cbmmc, g.czt, g.dwgrq, g.cgsh
  FROM sysc03 g
  LEFT JOIN sysc02 b ON b.cbmdm = g.cssbmdm AND b.cgsh = g.cgsh
 WHERE g.cgrlbdm = '6' AND g.ltybs = 0;

-- Current work orders that can take a rework record: those with a completed repair item.
CREATE VIEW v_wtc304_01 AS
SELECT v.cwtsbh, v.ckhdm, v.ckhmc, v.cpzh, v.ccxdm, v.ccxmc, v.cgsh
  FROM v_svc300_01 v
 WHERE EXISTS (SELECT 1 FROM svcb20d d
                WHERE d.cwtsbh = v.cwtsbh AND d.cgsh = v.cgsh AND d.lwcbs = 1);
