-- Writes through v_svcb50_svcb50_h act on whichever of svcb50 and svcb50_h
-- holds the record, as on the embedded default; a write that finds the
-- record in neither counts no row.
CREATE OR REPLACE FUNCTION tr_v_svcb50_svcb50_h() RETURNS trigger
  LANGUAGE plpgsql AS $$
DECLARE
  n integer := 0;
  m integer := 0;
BEGIN
  IF TG_OP = 'DELETE' THEN
    DELETE FROM svcb50 WHERE cwtsbh = OLD.cwtsbh AND cwxxmdm = OLD.cwxxmdm AND cgsh = OLD.cgsh;
    GET DIAGNOSTICS n = ROW_COUNT;
    DELETE FROM svcb50_h WHERE cwtsbh = OLD.cwtsbh AND cwxxmdm = OLD.cwxxmdm AND cgsh = OLD.cgsh;
    GET DIAGNOSTICS m = ROW_COUNT;
    IF n + m = 0 THEN RETURN NULL; END IF;
    RETURN OLD;
  END IF;
  UPDATE svcb50 SET cwtsbh = NEW.cwtsbh, cwxxmdm = NEW.cwxxmdm, cgsh = NEW.cgsh, ckhdm = NEW.ckhdm,
         ckhmc = NEW.ckhmc, cpzh = NEW.cpzh, ccxdm = NEW.ccxdm, cxmmc = NEW.cxmmc, ngs = NEW.ngs,
         ngsf = NEW.ngsf, nkk = NEW.nkk, cbzdm = NEW.cbzdm, czxrdm = NEW.czxrdm, dfxrq = NEW.dfxrq,
         cczydm = NEW.cczydm, cwxgwdm = NEW.cwxgwdm, cgwdm = NEW.cgwdm, lksbs = NEW.lksbs,
         lwcbs = NEW.lwcbs, lzt = NEW.lzt
   WHERE cwtsbh = OLD.cwtsbh AND cwxxmdm = OLD.cwxxmdm AND cgsh = OLD.cgsh;
  GET DIAGNOSTICS n = ROW_COUNT;
  UPDATE svcb50_h SET cwtsbh = NEW.cwtsbh, cwxxmdm = NEW.cwxxmdm, cgsh = NEW.cgsh, ckhdm = NEW.ckhdm,
         ckhmc = NEW.ckhmc, cpzh = NEW.cpzh, ccxdm = NEW.ccxdm, cxmmc = NEW.cxmmc, ngs = NEW.ngs,
         ngsf = NEW.ngsf, nkk = NEW.nkk, cbzdm = NEW.cbzdm, czxrdm = NEW.czxrdm, dfxrq = NEW.dfxrq,
         cczydm = NEW.cczydm, cwxgwdm = NEW.cwxgwdm, cgwdm = NEW.cgwdm, lksbs = NEW.lksbs,
         lwcbs = NEW.lwcbs, lzt = NEW.lzt
   WHERE cwtsbh = OLD.cwtsbh AND cwxxmdm = OLD.cwxxmdm AND cgsh = OLD.cgsh;
  GET DIAGNOSTICS m = ROW_COUNT;
  IF n + m = 0 THEN RETURN NULL; END IF;
  RETURN NEW;
END $$;

CREATE TRIGGER tr_v_svcb50_svcb50_h_delete INSTEAD OF DELETE ON v_svcb50_svcb50_h
  FOR EACH ROW EXECUTE FUNCTION tr_v_svcb50_svcb50_h();
CREATE TRIGGER tr_v_svcb50_svcb50_h_update INSTEAD OF UPDATE ON v_svcb50_svcb50_h
  FOR EACH ROW EXECUTE FUNCTION tr_v_svcb50_svcb50_h();
