# Shortcuts for the two scripts the README names.
.PHONY: run test
run:
	./run.sh
test:
	./test.sh
