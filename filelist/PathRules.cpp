namespace hv {}
